#pragma once

#include <string>

// The platform's own profile functions, called the way a code page 932 program calls them: ANSI
// strings in the system code page, a 256-byte receive area and the empty default.
namespace platform {

// The value as GetPrivateProfileStringA returns it: bytes in the ANSI code page.
std::string Read(const std::string& file, const std::string& sectionUtf8,
                 const std::string& keyUtf8);
bool Write(const std::string& file, const std::string& sectionUtf8, const std::string& keyUtf8,
           const std::string& valueUtf8);

// Drops the platform's cached copy of a file that changed behind its back.
void Forget(const std::string& file);

// UTF-8 text as the platform's 8-bit functions hand it over: in the ANSI code page, with its
// usual substitutes for what the code page lacks.
std::string ToAnsi(const std::string& utf8);

}  // namespace platform
