// The other programs of the tests between programs on Windows: one that holds a file open as a
// virus scanner or viewer does, and ones that save. Each sets the named event it is given once it
// has started what it was asked to do.
//   hold FILE MS EVENT           opens FILE sharing only reading, holds it MS milliseconds
//   save FILE COUNT EVENT        saves templates A and B in turn, COUNT times (0: until ended);
//                                exits 1 if a save failed
//   keys FILE PREFIX COUNT EVENT writes keys PREFIX1..PREFIXCOUNT into section S; waits for the
//                                event named EVENT.go before it starts
#include <windows.h>

#include <cstdio>
#include <string>

#include "IniAccess.h"
#include "TemplateFile.h"
#include "WhoseTemplate.h"
#include "WideText.h"

namespace {

void Signal(const wchar_t* name) {
    const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    SetEvent(event);
    CloseHandle(event);
}

int Hold(const wchar_t* file, int ms, const wchar_t* event) {
    const HANDLE held = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        return 2;
    }
    Signal(event);
    Sleep(static_cast<DWORD>(ms));
    CloseHandle(held);
    return 0;
}

int Save(const std::string& file, int count, const wchar_t* event) {
    const quelvar::TagTemplate a = testing_support::TemplateOf("A");
    const quelvar::TagTemplate b = testing_support::TemplateOf("B");
    Signal(event);
    int failed = 0;
    for (int i = 0; count == 0 || i < count; ++i) {
        try {
            quelvar::SaveTemplate(i % 2 ? b : a, file);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "save %d: %s\n", i, error.what());
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

int Keys(const std::string& file, const std::string& prefix, int count, const wchar_t* event) {
    const std::wstring go = std::wstring(event) + L".go";
    const HANDLE start = OpenEventW(SYNCHRONIZE, FALSE, go.c_str());
    Signal(event);
    if (WaitForSingleObject(start, 20000) != WAIT_OBJECT_0) {
        return 2;
    }
    for (int round = 1; round <= count; ++round) {
        const std::string key = prefix + std::to_string(round);
        if (!IniAccess::WriteProfileValue(file, "S", key, key)) {
            return 1;
        }
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"hold" && argc == 5) {
        return Hold(argv[2], _wtoi(argv[3]), argv[4]);
    }
    if (mode == L"save" && argc == 5) {
        return Save(IniAccess::Utf8FromWide(argv[2]), _wtoi(argv[3]), argv[4]);
    }
    if (mode == L"keys" && argc == 6) {
        return Keys(IniAccess::Utf8FromWide(argv[2]), IniAccess::Utf8FromWide(argv[3]),
                    _wtoi(argv[4]), argv[5]);
    }
    std::fprintf(stderr, "usage: see the top of WinChild.cpp\n");
    return 64;
}
