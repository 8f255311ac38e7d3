// Putting paths into shell command lines. Ordinary paths go in as they are, so the command lines stay
// exactly as written; a path that the shell would split or interpret goes in quoted.
#pragma once

#include <QString>

namespace Ucomtc {

// `text` unchanged when the shell takes every character of it literally, otherwise the whole text in
// single quotes, each embedded single quote written as '\''. An empty text becomes ''.
QString ShellWord(const QString& text);

// How a command line names the user's home for the shell to expand: $HOME as it is, or "$HOME"
// when the home directory's path (HOME of this process, which the shell inherits) would be split
// or interpreted after expansion.
QString ShellHome();
// `command` with every "$HOME" written as ShellHome() gives it: unchanged for an ordinary home.
QString WithShellHome(const QString& command);

} // namespace Ucomtc
