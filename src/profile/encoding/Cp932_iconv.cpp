// Code-page conversion on POSIX systems, through iconv.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <stdexcept>
#include <utility>

#include "Cp932.h"
#include "TextCodec.h"
#include "Utf8.h"

namespace IniAccess::internal {

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
            const int error = errno;  // before append, which may allocate
            out->append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result != static_cast<std::size_t>(-1)) {
                continue;
            }
            if (error != E2BIG) {
                return false;
            }
        }
        return true;
    }

  private:
    iconv_t handle_;
};

// iconv_open is far dearer than a conversion, and a load converts many short strings. glibc
// converts through UCS-4 in any case: decoding to it and making the UTF-8 here spares iconv a
// second conversion step, which cost as much as the first.
constexpr const char* kUcs4 = "UCS-4LE";

Converter& Decoder() {
    thread_local Converter converter(kUcs4, kCp932);
    return converter;
}

Converter& Encoder() {
    thread_local Converter converter(kCp932, "UTF-8");
    return converter;
}

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

namespace {

// No character takes more bytes in UTF-8 than its four in UCS-4.
std::string Utf8FromUcs4(std::string_view ucs4) {
    std::string out(ucs4.size(), '\0');
    std::size_t size = 0;
    for (std::size_t pos = 0; pos + 4 <= ucs4.size(); pos += 4) {
        const auto byte = [&](std::size_t i) {
            return static_cast<char32_t>(static_cast<unsigned char>(ucs4[pos + i]));
        };
        size += WriteUtf8(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24, &out[size]);
    }
    out.resize(size);
    return out;
}

void AppendUcs4(std::string& out, char32_t c) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((c >> shift) & 0xFF);
    }
}

// ASCII is itself in code page 932; iconv need not be set up for it. Fast path of the iconv
// conversion in both directions; must agree with it; pinned by Cp932Bytes.SingleBytes* (each
// byte alone, through here) and TextCodec.CodePage932IsTheWindowsCodePage (beside others).
bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string DecodeCp932(std::string_view bytes, bool* repaired) {
    if (IsAscii(bytes)) {
        return std::string(bytes);
    }
    std::string ucs4;
    ucs4.reserve(bytes.size() * 4);
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    while (!Decoder().Run(&in, &left, &ucs4)) {
        std::size_t skip = 1;
        if (const auto windowsOnly = WindowsOnlyCharacter(static_cast<unsigned char>(*in))) {
            AppendUcs4(ucs4, *windowsOnly);
        } else {
            *repaired = true;
            AppendUcs4(ucs4, RepairCharacter(FileEncoding::Cp932));
            // The same character boundaries as the line scanner.
            skip = Cp932CharacterLength(std::string_view(in, left), 0);
        }
        in += skip;
        left -= skip;
    }
    return Utf8FromUcs4(ucs4);
}

std::optional<std::string> EncodeCp932(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
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

}  // namespace IniAccess::internal
