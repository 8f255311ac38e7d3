#include "services/Commands.h"

#include "widgets/MessageBox.h"

namespace Ucomtc {

namespace {

// Runs `call` with a fresh list of messages and shows what it collected.
template <typename Call> auto Showing(Call&& call)
{
    Messages messages;
    auto result = call(messages);
    ShowMessages(messages);
    return result;
}

} // namespace

int System(const QString& command)
{
    return Host::current().System(command);
}

void RunShell(const QString& command)
{
    Host::current().RunShell(command);
}

bool RunPrivileged(const QString& command)
{
    return RunCommand(RunWith::Root, command);
}

bool RunCommand(Way way, const QString& command)
{
    return Showing([&](Messages& messages) { return RunCommand(way, command, messages); });
}

bool FileExists(const QString& path)
{
    return Host::current().FileExists(path);
}

bool CommandExists(const QString& name)
{
    return Showing([&](Messages& messages) { return CommandExists(name, messages); });
}

QString FirstInstalled(std::initializer_list<const char*> tools)
{
    return Showing([&](Messages& messages) { return FirstInstalled(tools, messages); });
}

bool WithCaptureFirstLine(Way writeWith, const QString& command, const QString& path, Way removeWith,
                          const std::function<void(const QString& firstLine)>& use)
{
    return Showing([&](Messages& messages) {
        return WithCaptureFirstLine(writeWith, command, path, removeWith, use, messages);
    });
}

bool EditFileWithSed(const QString& sedCommand, const QString& file, const QString& scratchFile, Way way)
{
    return Showing(
        [&](Messages& messages) { return EditFileWithSed(sedCommand, file, scratchFile, way, messages); });
}

} // namespace Ucomtc
