// Code-page conversion on POSIX systems, through iconv.
#include <iconv.h>

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <utility>

#include "TextCodec.h"
#include "Utf8.h"

namespace IniAccess {

namespace {

// glibc's "SHIFT_JIS" reads 0x5C as a yen sign and lacks the NEC and IBM rows; "CP932" is the
// Windows code page itself.
const char* CharsetName(FileEncoding encoding) {
    switch (encoding) {
        case FileEncoding::Cp932:
            return "CP932";
        case FileEncoding::Utf8Bom:
            return "UTF-8";
        case FileEncoding::Utf16LeBom:
            return "UTF-16LE";
        case FileEncoding::Utf16BeBom:
            return "UTF-16BE";
    }
    return "CP932";
}

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
Converter& Decoder(FileEncoding encoding) {
    thread_local Converter converters[] = {{"UTF-8", CharsetName(FileEncoding::Cp932)},
                                           {"UTF-8", CharsetName(FileEncoding::Utf8Bom)},
                                           {"UTF-8", CharsetName(FileEncoding::Utf16LeBom)},
                                           {"UTF-8", CharsetName(FileEncoding::Utf16BeBom)}};
    return converters[static_cast<int>(encoding)];
}

Converter& Encoder(FileEncoding encoding) {
    thread_local Converter converters[] = {{CharsetName(FileEncoding::Cp932), "UTF-8"},
                                           {CharsetName(FileEncoding::Utf8Bom), "UTF-8"},
                                           {CharsetName(FileEncoding::Utf16LeBom), "UTF-8"},
                                           {CharsetName(FileEncoding::Utf16BeBom), "UTF-8"}};
    return converters[static_cast<int>(encoding)];
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

// How many bytes one undefined character takes, so that decoding keeps the same character
// boundaries as the line scanner: a lead byte with a trail byte is one character even when the
// pair is unassigned.
std::size_t UndefinedLength(FileEncoding encoding, const char* at, std::size_t left) {
    switch (encoding) {
        case FileEncoding::Cp932:
            return Cp932CharacterLength(std::string_view(at, left), 0);
        case FileEncoding::Utf16LeBom:
        case FileEncoding::Utf16BeBom:
            return left >= 2 ? 2 : 1;
        case FileEncoding::Utf8Bom:
            break;
    }
    return 1;
}

}  // namespace

std::string DecodeText(FileEncoding encoding, std::string_view bytes, bool* repaired) {
    // glibc's UTF-8 converter lets the old five- and six-byte forms through.
    if (encoding == FileEncoding::Utf8Bom) {
        return RepairUtf8(bytes, repaired);
    }
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    const std::string repair = EncodeUtf8(RepairCharacter(encoding));
    Converter& converter = Decoder(encoding);
    while (!converter.Run(&in, &left, &out)) {
        std::size_t skip = 1;
        const auto windowsOnly = encoding == FileEncoding::Cp932
                                     ? WindowsOnlyCharacter(static_cast<unsigned char>(*in))
                                     : std::nullopt;
        if (windowsOnly) {
            out += EncodeUtf8(*windowsOnly);
        } else {
            *repaired = true;
            out += repair;
            skip = UndefinedLength(encoding, in, left);
        }
        in += skip;
        left -= skip;
    }
    return out;
}

std::optional<std::string> ConvertToFile(FileEncoding encoding, std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (!Encoder(encoding).Run(&in, &left, &out)) {
        std::size_t length = 0;
        const std::string_view rest(in, left);
        const auto byte = encoding == FileEncoding::Cp932
                              ? WindowsOnlyByte(DecodeUtf8At(rest, 0, &length))
                              : std::nullopt;
        if (!byte) {
            return std::nullopt;
        }
        out += *byte;
        in += length;
        left -= length;
    }
    return out;
}

}  // namespace IniAccess
