#include "ArgumentBytes.h"

#include <QStringDecoder>

namespace quelvar {

namespace {

QString ArgumentText(const char* argument) {
    const QByteArray bytes(argument);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
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

}  // namespace quelvar
