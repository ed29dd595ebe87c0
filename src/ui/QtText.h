#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <string_view>

namespace quelvar::qt {

// A text of the shared tables (UTF-8, as every string of the program) as Qt's string.
inline QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Whether bytes are UTF-8 text. A file name on Linux is bytes and need not be: Qt shows such a
// name with U+FFFD, which names no file.
inline bool IsUtf8(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = utf8(QByteArrayView(bytes.data(), bytes.size()));
    return !utf8.hasError();
}

}  // namespace quelvar::qt
