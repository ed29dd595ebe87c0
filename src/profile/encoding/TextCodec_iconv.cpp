// Code-page conversion on POSIX systems, through iconv.
#include <iconv.h>

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <utility>

#include "Cp932.h"
#include "TextCodec.h"
#include "Utf8.h"

namespace quelvar::profile {

using IniAccess::Cp932CharacterLength;
using IniAccess::FileEncoding;
using IniAccess::RepairCharacter;

namespace {

// glibc's "SHIFT_JIS" reads 0x5C as a yen sign and lacks the NEC and IBM rows; "CP932" is the
// Windows code page itself.
constexpr const char* kCp932 = "CP932";

class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
        }
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns false at the first input it cannot convert, leaving
    // *in at that input.
    bool Run(const char** in, std::size_t* inLeft, std::string* out) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        while (*inLeft > 0) {
            char buffer[4096];
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result =
                iconv(handle_, const_cast<char**>(in), inLeft, &outPtr, &outLeft);
            out->append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result != static_cast<std::size_t>(-1)) {
                continue;
            }
            if (errno != E2BIG) {
                return false;
            }
        }
        return true;
    }

  private:
    iconv_t handle_;
};

// iconv_open is far dearer than a conversion, and a load converts many short strings.
Converter& Decoder() {
    thread_local Converter converter("UTF-8", kCp932);
    return converter;
}

Converter& Encoder() {
    thread_local Converter converter(kCp932, "UTF-8");
    return converter;
}

// Five single bytes that iconv leaves undefined but the Windows code page maps, to C1 control
// U+0080 and to private-use characters; files written there may hold them.
constexpr std::pair<unsigned char, char32_t> kWindowsOnlyBytes[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

std::optional<char32_t> WindowsOnlyCharacter(unsigned char byte) {
    for (const auto& [b, c] : kWindowsOnlyBytes) {
        if (b == byte) {
            return c;
        }
    }
    return std::nullopt;
}

std::optional<char> WindowsOnlyByte(char32_t c) {
    for (const auto& [b, mapped] : kWindowsOnlyBytes) {
        if (mapped == c) {
            return static_cast<char>(b);
        }
    }
    return std::nullopt;
}

}  // namespace

std::string DecodeCp932(std::string_view bytes, bool* repaired) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    const std::string repair = EncodeUtf8(RepairCharacter(FileEncoding::Cp932));
    while (!Decoder().Run(&in, &left, &out)) {
        std::size_t skip = 1;
        if (const auto windowsOnly = WindowsOnlyCharacter(static_cast<unsigned char>(*in))) {
            out += EncodeUtf8(*windowsOnly);
        } else {
            *repaired = true;
            out += repair;
            // The same character boundaries as the line scanner.
            skip = Cp932CharacterLength(std::string_view(in, left), 0);
        }
        in += skip;
        left -= skip;
    }
    return out;
}

std::optional<std::string> EncodeCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (!Encoder().Run(&in, &left, &out)) {
        std::size_t length = 0;
        const auto byte = WindowsOnlyByte(DecodeUtf8At(std::string_view(in, left), 0, &length));
        if (!byte) {
            return std::nullopt;
        }
        out += *byte;
        in += length;
        left -= length;
    }
    return out;
}

}  // namespace quelvar::profile
