// Many random writes and reads against a model of what the file must hold: every read matches
// the model, and every line no write was aimed at stays byte for byte where it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "IniAccess.h"
#include "ReadLimit.h"
#include "TempDir.h"

using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

#ifdef _WIN32
// Every Wine file operation is a round trip to its server: a shorter run there.
constexpr int kOperations = 20000;
#else
constexpr int kOperations = 100000;
#endif

// Lines no write aims at: comments, blank lines, odd spacing, keys that are only read.
const std::string kSeedFile =
    "; a template kept by hand\r\n"
    "\r\n"
    "[S0]\r\n"
    "  keep0 =  kept value  \r\n"
    "keep1=\"quoted\"\n"
    "; note in S0\r\n"
    "\r\n"
    "[S1]\r\n"
    "keep2=\x95\x5C\x8E\xA6\r\n"
    "# hash line\r\n"
    "[\x95\x5C]\r\n"
    "keep3 = 3\r\n"
    "[S0]\r\n"
    "keep4=hidden by the first S0\r\n";

struct Expected {
    std::string section, key, value;
};
const std::vector<Expected> kKeptValues = {{"S0", "keep0", "kept value"}, {"s0", "KEEP1", "quoted"},
                                           {"S1", "keep2", "表示"},       {"表", "keep3", "3"},
                                           {"S0", "keep4", ""},           {"S9", "keep0", ""}};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return s;
}

// The model cuts as readers do: at 255 bytes of code page 932, between characters.
std::string AsRead(const std::string& value) {
    bool cut = false;
    return IniAccess::internal::CutToReadLimit(value, &cut);
}

class Random {
  public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    std::size_t Below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_);
    }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[Below(items.size())];
    }
    std::string Value() {
        static const std::vector<std::string> kPieces = {"a", "Z", " ",      "\t", "\"", "'",
                                                         "=", ";", "#",      "\\", "表", "ア",
                                                         "①", "ｱ", "\u3000", "x"};
        const std::size_t length = Below(20) == 0 ? 120 + Below(100) : Below(16);
        std::string value;
        for (std::size_t i = 0; i < length; ++i) {
            value += Pick(kPieces);
        }
        return value;
    }

  private:
    std::mt19937 engine_;
};

// Whether `lines` stand in `file` in their order, each whole and unchanged.
bool KeepsLinesInOrder(const std::string& file, const std::vector<std::string>& lines) {
    std::size_t from = 0;
    const auto startsLine = [&](std::size_t at) {
        return at == 0 || file[at - 1] == '\n' || file[at - 1] == '\r';
    };
    for (const std::string& line : lines) {
        std::size_t at = file.find(line, from);
        while (at != std::string::npos && !startsLine(at)) {
            at = file.find(line, at + 1);
        }
        if (at == std::string::npos) {
            return false;
        }
        from = at + line.size();
    }
    return true;
}

TEST(ProfileProperty, RandomWritesAndReadsMatchTheModelAndKeepOtherLines) {
    // On a memory file system where there is one: the flushes of 50,000 writes cost nothing.
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? "/dev/shm"
                                           : std::filesystem::temp_directory_path();
    const std::filesystem::path folder =
        base / ("quelvar-property-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "model.kvd").string();
    WriteBytes(file, kSeedFile);

    std::vector<std::string> seedLines;
    for (std::size_t start = 0; start < kSeedFile.size();) {
        const std::size_t end = kSeedFile.find('\n', start) + 1;
        seedLines.push_back(kSeedFile.substr(start, end - start));
        start = end;
    }

    const std::vector<std::string> sections = {"S0", "s0", "S1", "S2", "s2", "S3", "表", "ｓ"};
    const std::vector<std::string> keys = {"k0", "K0", "k1", "k2", "Key Three", "ア", "Ｋ", "k-4"};
    std::map<std::pair<std::string, std::string>, std::string> model;
    Random random(20261207);
    int writes = 0, reads = 0;
    for (int op = 0; op < kOperations && !HasFailure(); ++op) {
        const std::string& section = random.Pick(sections);
        const std::string& key = random.Pick(keys);
        const auto name = std::make_pair(Lower(section), Lower(key));
        if (random.Below(2) == 0) {
            const std::string value = random.Value();
            ASSERT_TRUE(IniAccess::WriteProfileValue(file, section, key, value));
            model[name] = value;
            ++writes;
        } else if (random.Below(8) == 0) {
            const Expected& kept = random.Pick(kKeptValues);
            ASSERT_EQ(IniAccess::ReadProfileValue(file, kept.section, kept.key), kept.value)
                << "operation " << op;
            ++reads;
        } else {
            const auto found = model.find(name);
            ASSERT_EQ(IniAccess::ReadProfileValue(file, section, key),
                      found == model.end() ? "" : AsRead(found->second))
                << "operation " << op << ": [" << section << "] " << key;
            ++reads;
        }
        if (op % 1000 == 999) {
            ASSERT_TRUE(KeepsLinesInOrder(ReadBytes(file), seedLines)) << "after operation " << op;
        }
    }
    std::filesystem::remove_all(folder);
    std::printf("%d writes and %d reads matched the model\n", writes, reads);
}

}  // namespace
