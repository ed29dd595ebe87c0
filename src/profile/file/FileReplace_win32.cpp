// Replacing a file's contents on Windows: a temporary file beside it, flushed and moved into
// place over it.
#include <windows.h>

#include <filesystem>

#include "ProfileError.h"
#include "RecoveryCopy.h"
#include "TemporaryFile.h"
#include "Win32File.h"

namespace IniAccess::internal::win32 {

namespace fs = std::filesystem;

namespace {

// Where the new contents go: the file behind any symbolic link, or the new file's name. Refuses
// what must not be replaced (a folder, a read-only file).
struct Destination {
    bool exists = false;
    fs::path target;
    fs::path folder;
};

Destination FindDestination(const std::string& path) {
    const std::wstring given = WidePath(path);
    const DWORD attributes = GetFileAttributesW(given.c_str());
    Destination destination;
    destination.exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!destination.exists && !IsMissing(GetLastError())) {
        FailWith(path, GetLastError());
    }
    if (destination.exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(path, std::make_error_code(std::errc::is_a_directory));
    }
    if (destination.exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        Fail(path, std::make_error_code(std::errc::permission_denied));
    }
    destination.target = destination.exists ? fs::path(FinalPath(given)) : fs::path(given);
    const fs::path parent = destination.target.parent_path();
    destination.folder = parent.empty() ? fs::path(L".") : parent;
    return destination;
}

// Created exclusively, so that nothing already there is written through.
Handle CreateTemporaryFile(const fs::path& folder, const std::string& path, std::wstring* name) {
    HANDLE created = INVALID_HANDLE_VALUE;
    const auto create = [&](const fs::path& candidate) {
        std::error_code injected;
        if (Injected(FileOperation::Open, path, &injected)) {
            Fail(path, injected);
        }
        created = CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created != INVALID_HANDLE_VALUE) {
            return CreateOutcome::Created;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            FailWith(path, GetLastError());
        }
        return CreateOutcome::NameTaken;
    };
    bool allTaken = false;
    const auto temporary = CreateTemporary(folder, create, &allTaken);
    if (!temporary) {
        FailWith(path, ERROR_FILE_EXISTS);
    }
    *name = temporary->wstring();
    return Handle(created);
}

void WriteAndFlush(HANDLE file, std::string_view contents, const std::string& path) {
    std::error_code injected;
    for (std::size_t done = 0; done < contents.size();) {
        if (Injected(FileOperation::Write, path, &injected)) {
            Fail(path, injected);
        }
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, contents.data() + done, chunk, &written, nullptr)) {
            FailWith(path, GetLastError());
        }
        done += written;
    }
    if (Injected(FileOperation::Flush, path, &injected)) {
        Fail(path, injected);
    }
    if (!FlushFileBuffers(file)) {
        FailWith(path, GetLastError());
    }
}

// ReplaceFileW keeps the old file's attributes and access rights; a new file is moved.
void MoveIntoPlace(const Destination& destination, const std::wstring& temporary,
                   const std::string& path) {
    std::error_code injected;
    if (Injected(FileOperation::Rename, path, &injected)) {
        Fail(path, injected);
    }
    const bool replaced =
        destination.exists && ReplaceFileW(destination.target.c_str(), temporary.c_str(), nullptr,
                                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!replaced && !MoveFileExW(temporary.c_str(), destination.target.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FailWith(path, GetLastError());
    }
}

}  // namespace

void ReplaceContents(const std::string& path, std::string_view contents) {
    const Destination destination = FindDestination(path);
    std::wstring temporary;
    Handle file = CreateTemporaryFile(destination.folder, path, &temporary);
    try {
        WriteAndFlush(file.get(), contents, path);
        CloseHandle(file.release());
        MoveIntoPlace(destination, temporary, path);
        // Left by a save made elsewhere (a share also written from Linux): the file is now whole.
        RemoveRecoveryCopy(path);
    } catch (...) {
        if (file.valid()) {
            CloseHandle(file.release());
        }
        DeleteFileW(temporary.c_str());
        throw;
    }
}

}  // namespace IniAccess::internal::win32
