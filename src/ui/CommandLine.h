#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quelvar::qt {

// What the command line asks for: the file to open, if any; or, when the program should end at
// once (after --help, --version or a wrong argument), the exit code.
struct CommandLine {
    QString file;
    std::optional<int> exitCode;
};

// Reads the program's arguments (the first is the program itself), printing help, the version
// or what is wrong.
CommandLine ReadCommandLine(const QStringList& arguments);

// Whether the arguments ask only for help or the version, which need no window and so must
// work without a display.
bool AsksForHelpOrVersion(int argc, char* argv[]);

}  // namespace quelvar::qt
