#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace quelvar {

bool AsksForHelpOrVersion(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--") {
            return false;
        }
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (argument == option) {
                return true;
            }
        }
    }
    return false;
}

CommandLine ReadCommandLine(const QStringList& arguments) {
    CommandLine result;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Quelvar Edit Tool: edits tag templates, the .kvd files of the markup editor.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument("file", "The template file to open.", "[file]");

    const auto print = [](FILE* stream, const QString& text) {
        std::fputs(text.toLocal8Bit().constData(), stream);
    };
    if (!parser.parse(arguments)) {
        print(stderr, QCoreApplication::applicationName() + ": " + parser.errorText() + "\n");
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(help) || parser.isSet("help-all")) {
        print(stdout, parser.helpText());
        result.exitCode = 0;
        return result;
    }
    if (parser.isSet(version)) {
        print(stdout, QCoreApplication::applicationName() + " " +
                          QCoreApplication::applicationVersion() + "\n");
        result.exitCode = 0;
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        print(stderr, QCoreApplication::applicationName() + ": one file at a time, please.\n");
        result.exitCode = 2;
        return result;
    }
    if (!files.isEmpty()) {
        result.file = files.constFirst();
    }
    return result;
}

}  // namespace quelvar
