// File names on the command line reach the core as the bytes the system gave, UTF-8 or not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArgumentBytes.h"
#include "CommandLine.h"

using namespace quelvar;
using namespace quelvar::qt;

namespace {

// Parses argv as main() does and gives the bytes of the file it names.
std::string FileOf(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    const int argc = static_cast<int>(argv.size());
    const CommandLine line = ReadCommandLine(ArgumentTexts(argc, argv.data()));
    EXPECT_FALSE(line.exitCode);
    return ArgumentBytes(argc, argv.data(), line.file);
}

TEST(ArgumentBytes, TheFileNamedOnTheCommandLineKeepsItsBytes) {
    struct Row {
        std::vector<std::string> arguments;
        std::string file;
    };
    const std::vector<Row> rows = {
        {{"quelvar-edit", "caf\xe9.kvd"}, "caf\xe9.kvd"},                    // Latin-1
        {{"quelvar-edit", "\x83\x5e\x83\x4f.kvd"}, "\x83\x5e\x83\x4f.kvd"},  // code page 932
        {{"quelvar-edit", "caf\xc3\xa9.kvd"}, "caf\xc3\xa9.kvd"},            // UTF-8
        {{"quelvar-edit", "/tmp/\xff/a.kvd"}, "/tmp/\xff/a.kvd"},            // in the folder's name
        {{"quelvar-edit", "--", "-caf\xe9.kvd"}, "-caf\xe9.kvd"},
        {{"quelvar-edit", "a\xef\xbf\xbd.kvd"}, "a\xef\xbf\xbd.kvd"},  // a real U+FFFD
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FileOf(row.arguments), row.file) << row.file;
    }
}

TEST(ArgumentBytes, ANameThatIsNotUtf8ReadsAsOneCharacterPerByteForTheParser) {
    char program[] = "quelvar-edit", latin[] = "caf\xe9.kvd";
    char* argv[] = {program, latin};
    EXPECT_EQ(ArgumentTexts(2, argv),
              QStringList({"quelvar-edit", QString::fromUtf16(u"café.kvd")}));
}

}  // namespace
