#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace IniAccess::internal {

// What one attempt to create a temporary file under a given name came to.
enum class CreateOutcome { Created, NameTaken, Refused };

// The temporary file a replacement writes first, beside its target: tries new names in folder
// until create makes the file, at most 100 times. The names are short and independent of the
// target's name, so that a target whose name uses the whole length a name may have can still be
// saved. Nothing when create refused, or when every name was taken (*allTaken is then set).
std::optional<std::filesystem::path> CreateTemporary(
    const std::filesystem::path& folder,
    const std::function<CreateOutcome(const std::filesystem::path& name)>& create, bool* allTaken);

}  // namespace IniAccess::internal
