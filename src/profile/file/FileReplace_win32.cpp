// Replacing a file's contents on Windows: a temporary file beside it, flushed, given what the old
// file keeps, and renamed over it in one step, so that the file's name holds a whole file at
// every instant (ReplaceFileW is not one step everywhere the program runs).
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <vector>

#include "ProfileError.h"
#include "RecoveryCopyFiles.h"
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

// A symbolic link whose target does not exist: there is no file to write through it.
bool LinksToNothing(const std::wstring& link) {
    const Handle target(CreateFileW(link.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return !target.valid() && IsMissing(GetLastError());
}

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
    if (destination.exists && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        LinksToNothing(given)) {
        Fail(path, std::make_error_code(std::errc::no_such_file_or_directory));
    }
    destination.target = destination.exists ? fs::path(FinalPath(given)) : fs::path(given);
    const fs::path parent = destination.target.parent_path();
    destination.folder = parent.empty() ? fs::path(L".") : parent;
    return destination;
}

constexpr DWORD kTemporaryAccess = GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE;

bool MarkForDeletion(HANDLE file, bool deleted) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = deleted;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

// Created exclusively, so that nothing already there is written through, and marked for deletion
// until it is complete: a save ended meanwhile (a crash, another program ending it) leaves no
// temporary file behind. A file system that cannot mark it still gets the rest.
Handle CreateTemporaryFile(const fs::path& folder, const std::string& path, std::wstring* name,
                           bool* marked) {
    HANDLE created = INVALID_HANDLE_VALUE;
    bool mayMark = true;
    const auto create = [&](const fs::path& candidate) {
        std::error_code injected;
        if (Injected(FileOperation::Open, path, &injected)) {
            Fail(path, injected);
        }
        // WRITE_DAC for the old file's access rights, where the folder lets its owner have it.
        for (const DWORD access : {kTemporaryAccess | WRITE_DAC, kTemporaryAccess}) {
            // Shared for reading: once renamed, it is the template, which loads may open.
            created = CreateFileW(candidate.c_str(), access, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
            if (created != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ACCESS_DENIED) {
                break;
            }
        }
        if (created != INVALID_HANDLE_VALUE) {
            // Marked only where the mark also comes off again, as the rename needs. A file stuck
            // with it goes when closed, and the next name is made without one.
            *marked = false;
            if (mayMark && MarkForDeletion(created, true)) {
                if (!MarkForDeletion(created, false)) {
                    CloseHandle(created);
                    mayMark = false;
                    return CreateOutcome::NameTaken;
                }
                *marked = MarkForDeletion(created, true);
            }
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

enum class Moved { Done, NameTaken };

// Renames the new file over the old one through the new file's own handle, which has the right
// to rename it whatever access rights it was given; the deletion mark comes off only for the
// rename. Another program that has the old file open (a virus scanner or indexer right after a
// write, a viewer, a load) keeps it from being replaced, and usually lets go within a second or
// two: that is waited for, then reported as the file in use.
Moved MoveIntoPlace(HANDLE file, bool marked, const Destination& destination, bool replace,
                    const std::string& path) {
    std::error_code injected;
    if (Injected(FileOperation::Rename, path, &injected)) {
        Fail(path, injected);
    }
    const std::wstring target = destination.target.wstring();
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, target.c_str(), nameBytes);
    const DWORD error = RetryWhileHeld(target, [&]() -> DWORD {
        if (marked && !MarkForDeletion(file, false)) {
            return GetLastError();
        }
        if (SetFileInformationByHandle(file, FileRenameInfo, rename,
                                       static_cast<DWORD>(buffer.size()))) {
            return ERROR_SUCCESS;
        }
        const DWORD failed = GetLastError();
        if (marked) {
            MarkForDeletion(file, true);
        }
        return failed;
    });
    if (error == ERROR_SUCCESS) {
        return Moved::Done;
    }
    if (!replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) {
        return Moved::NameTaken;
    }
    FailWith(path, error);
}

}  // namespace

bool ReplaceContents(const std::string& path, std::string_view contents, bool existed) {
    const Destination destination = FindDestination(path);
    if (!existed && destination.exists) {
        return false;
    }
    std::wstring temporary;
    bool marked = false;
    Handle file = CreateTemporaryFile(destination.folder, path, &temporary, &marked);
    try {
        WriteAndFlush(file.get(), contents, path);
        if (destination.exists) {
            KeepTimeAndAttributes(destination.target.wstring(), file.get());
            KeepAccessRights(destination.target.wstring(), file.get());
        }
        if (MoveIntoPlace(file.get(), marked, destination, existed, path) == Moved::NameTaken) {
            CloseHandle(file.release());
            RemoveTemporary(temporary);
            return false;
        }
        CloseHandle(file.release());
        // Left by a save made elsewhere (a share also written from Linux): the file is now whole.
        RemoveRecoveryCopy(path);
        return true;
    } catch (...) {
        if (file.valid()) {
            CloseHandle(file.release());  // a marked file goes with its handle
        }
        RemoveTemporary(temporary);
        throw;
    }
}

}  // namespace IniAccess::internal::win32
