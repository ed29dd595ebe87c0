#include "TemporaryFile.h"

#include <random>
#include <string>

namespace IniAccess::internal {

namespace {

std::string RandomName() {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".quelvar-";
    for (int i = 0; i < 6; ++i) {
        name += kLetters[generator() % 36];
    }
    return name;
}

}  // namespace

std::optional<std::filesystem::path> CreateTemporary(
    const std::filesystem::path& folder,
    const std::function<CreateOutcome(const std::filesystem::path& name)>& create, bool* allTaken) {
    *allTaken = false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path name = folder / RandomName();
        switch (create(name)) {
            case CreateOutcome::Created:
                return name;
            case CreateOutcome::Refused:
                return std::nullopt;
            case CreateOutcome::NameTaken:
                break;
        }
    }
    *allTaken = true;
    return std::nullopt;
}

}  // namespace IniAccess::internal
