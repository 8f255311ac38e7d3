#include "FakeTools.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace VcdTest {

std::string PrepareMachine(std::unique_ptr<ScratchMounts>& mounts)
{
    const std::string& why = EnterPrivateNamespace();
    if (!why.empty())
        return why;
    mounts = std::make_unique<ScratchMounts>();
    if (!mounts->error().empty())
        return mounts->error();
    InstallFakeDmidecode();
    WriteFile(RatePath, InitialRate);
    return {};
}

const char* const FakeDump = "# dmidecode 3.4\n"
                             "Getting SMBIOS data from sysfs.\n"
                             "SMBIOS 2.4 present.\n"
                             "\n"
                             "Handle 0x0000, DMI type 0, 24 bytes\n"
                             "BIOS Information\n"
                             "\tVendor: Lapstone\n"
                             "\tVersion: R01-A3\n"
                             "\tRelease Date: 05/12/2006\n"
                             "\n"
                             "Handle 0x0021, DMI type 132, 7 bytes\n"
                             "OEM-specific Type\n"
                             "\tHeader and Data:\n"
                             "\t\t84 07 21 00 5A 3C 00\n"
                             "\n"
                             "Handle 0x0022, DMI type 24, 5 bytes\n"
                             "Hardware Security\n"
                             "\tPower-On Password Status: Disabled\n"
                             "\tKeyboard Password Status: Not Implemented\n"
                             "\tAdministrator Password Status: Enabled\n"
                             "\tFront Panel Reset Status: Not Implemented\n";

void InstallFakeDmidecode(double delaySeconds, int exitStatus)
{
    WriteFile("/usr/sbin/dmidecode.dump", FakeDump);
    std::ostringstream script;
    script << "#!/bin/sh\n"
           << "echo run >> /usr/sbin/dmidecode.runs\n"
           << "env > /usr/sbin/dmidecode.env\n"
           << "echo \"$(id -u) $(pwd)\" > /usr/sbin/dmidecode.identity\n";
    if (delaySeconds > 0)
        script << "sleep " << delaySeconds << "\n";
    if (exitStatus != 0)
        script << "exit " << exitStatus << "\n";
    script << "cat /usr/sbin/dmidecode.dump\n";
    WriteFile("/usr/sbin/dmidecode", script.str(), 0755);
}

int FakeDmidecodeRuns()
{
    const std::string runs = Exists("/usr/sbin/dmidecode.runs") ? ReadFile("/usr/sbin/dmidecode.runs") : "";
    return static_cast<int>(runs.size() / 4); // "run\n" per run
}

std::string FakeDmidecodeEnvironment()
{
    return ReadFile("/usr/sbin/dmidecode.env");
}

std::string FakeDmidecodeIdentity()
{
    return ReadFile("/usr/sbin/dmidecode.identity");
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text, unsigned mode)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    ::chmod(path.c_str(), mode);
}

bool Exists(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace VcdTest
