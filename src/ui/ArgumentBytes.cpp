#include "ArgumentBytes.h"

#include "QtText.h"

namespace quelvar::qt {

namespace {

QString ArgumentText(const char* argument) {
    return IsUtf8(argument) ? QString::fromUtf8(argument) : QString::fromLatin1(argument);
}

}  // namespace

QStringList ArgumentTexts(int argc, char* argv[]) {
    QStringList texts;
    for (int i = 0; i < argc; ++i) {
        texts << ArgumentText(argv[i]);
    }
    return texts;
}

std::string ArgumentBytes(int argc, char* argv[], const QString& text) {
    for (int i = 1; i < argc; ++i) {
        if (ArgumentText(argv[i]) == text) {
            return argv[i];
        }
    }
    return text.toStdString();
}

}  // namespace quelvar::qt
