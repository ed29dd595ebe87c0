#pragma once

#include <QString>
#include <string_view>

namespace quelvar {

// A text of the shared tables (UTF-8, as every string of the program) as Qt's string.
inline QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace quelvar
