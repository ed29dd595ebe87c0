#include <windows.h>

#include "RecoveryCopyFiles.h"
#include "Win32File.h"

namespace IniAccess::internal {

std::string CopyTarget(const std::string& path) {
    return path;
}

bool CopyExists(const std::string& file) {
    return GetFileAttributesW(win32::WidePath(file).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveCopy(const std::string& file) {
    std::error_code injected;
    if (!win32::Injected(FileOperation::Remove, file, &injected)) {
        DeleteFileW(win32::WidePath(file).c_str());
    }
}

}  // namespace IniAccess::internal
