#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace quelvar {

// The program's arguments as text for the command-line parser. Each is decoded as UTF-8 where it
// is UTF-8 and byte for byte (as Latin-1) where it is not, so that no two different arguments
// read as the same text: the locale's decoding would turn every invalid byte into U+FFFD.
QStringList ArgumentTexts(int argc, char* argv[]);

// The bytes of the argument that reads as text in ArgumentTexts. A file name on Linux is bytes,
// and one from an old archive or a Samba share need not be UTF-8; the core takes it as it is.
std::string ArgumentBytes(int argc, char* argv[], const QString& text);

}  // namespace quelvar
