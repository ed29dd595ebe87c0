#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace quelvar::qt {

// The program's arguments as text for the command-line parser. Each is decoded as UTF-8 where it
// is UTF-8 and byte for byte (as Latin-1) where it is not, so that a name the locale would turn
// into U+FFFD reads as a name of its own.
QStringList ArgumentTexts(int argc, char* argv[]);

// The bytes of the first argument that reads as text in ArgumentTexts. A file name on Linux is
// bytes, and one from an old archive or a Samba share need not be UTF-8; the core takes it as it
// is. Different bytes can read as the same text (E9 alone as Latin-1 and C3 A9 as UTF-8 both read
// as "é"), but the program takes one file and its other arguments are options in ASCII, which
// read the same either way: the first match is the file's own bytes.
std::string ArgumentBytes(int argc, char* argv[], const QString& text);

}  // namespace quelvar::qt
