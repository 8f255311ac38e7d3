#include "machine/ShellWord.h"

#include "machine/Host.h"

namespace Ucomtc {

namespace {

bool IsLiteral(QChar c)
{
    if (c.unicode() >= 0x80)
        return false; // a locale that does not know the byte could still mangle it
    const char ch = static_cast<char>(c.unicode());
    if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
        return true;
    // '~' and '=' are literal only in some places; '^' is a pipe in old shells.
    switch (ch) {
    case '_':
    case '-':
    case '.':
    case '/':
    case ',':
    case ':':
    case '@':
    case '%':
    case '+':
        return true;
    default:
        return false;
    }
}

bool IsLiteral(const QString& text)
{
    for (const QChar c : text) {
        if (!IsLiteral(c))
            return false;
    }
    return true;
}

} // namespace

QString ShellWord(const QString& text)
{
    if (!text.isEmpty() && IsLiteral(text))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString ShellHome()
{
    // Unset or empty, $HOME expands to nothing, and a path built on it stays one word.
    const QString home = Host::current().GetEnv("HOME").value_or(QString());
    return IsLiteral(home) ? QStringLiteral("$HOME") : QStringLiteral("\"$HOME\"");
}

QString WithShellHome(const QString& command)
{
    return QString(command).replace(QLatin1String("$HOME"), ShellHome());
}

} // namespace Ucomtc
