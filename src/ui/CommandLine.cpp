#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace quelvar::qt {

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

namespace {

void Print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The program ends at once with this code, having printed what it had to say.
CommandLine EndWith(int exitCode) {
    return CommandLine{QString(), exitCode};
}

}  // namespace

CommandLine ReadCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Quelvar Edit Tool: edits tag templates, the .kvd files of the markup editor.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument("file", "The template file to open.", "[file]");

    const QString program = QCoreApplication::applicationName();
    if (!parser.parse(arguments)) {
        Print(stderr, program + ": " + parser.errorText() + "\n");
        return EndWith(2);
    }
    if (parser.isSet(help) || parser.isSet("help-all")) {
        Print(stdout, parser.helpText());
        return EndWith(0);
    }
    if (parser.isSet(version)) {
        Print(stdout, program + " " + QCoreApplication::applicationVersion() + "\n");
        return EndWith(0);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        Print(stderr, program + ": one file at a time, please.\n");
        return EndWith(2);
    }
    return CommandLine{files.isEmpty() ? QString() : files.constFirst(), std::nullopt};
}

}  // namespace quelvar::qt
