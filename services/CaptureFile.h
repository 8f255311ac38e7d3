// Capture files: a command's output redirected into a fixed file under /tmp, read back as text lines.
//
// A line ends at a line feed; a carriage return is never part of a line; a last line without a line
// feed is still read.
#pragma once

#include <QString>
#include <QStringList>
#include <span>

namespace Ucomtc {

using TStringinfo = QStringList;

// The file's lines. Throws IoError when the file cannot be opened or read.
QStringList ReadTextLines(const QString& fileName);
// The first line, or an empty text for an empty file. Throws IoError like ReadTextLines.
QString ReadFirstLine(const QString& fileName);

// Removes the leading run of blanks and tabs, nothing else.
QString TrimLeadingBlanks(const QString& s);
// Drops as many leading characters as `key` has, then leading blanks; "Error" when `key` is absent.
QString ValueAfterKey(const QString& line, const QString& key);

// Looks up keys[0] .. keys[count-1] in order, each on a line after the previous key's line, and
// removes the file afterwards. A missing file gives `count` single blanks and is left alone.
TStringinfo ReadCaptureFile(const QString& fileName, int count, std::span<const char* const> keys);

} // namespace Ucomtc
