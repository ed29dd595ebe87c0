#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Profile files made at random from a fixed seed, out of the pieces real files hold and the
// ones that trip readers up: blanks, quotes, letter case, Shift-JIS second bytes that look like
// syntax, lines without '=', comments, duplicates, every line end, byte-order marks, long values.
namespace generator {

struct Name {
    std::string section;
    std::string key;
};

struct GeneratedFile {
    std::string bytes;
    std::vector<Name> queries;  // names in the file, case variants of them, and missing ones
    std::string description;    // encoding and line ends, for messages
};

class ProfileGenerator {
  public:
    explicit ProfileGenerator(std::uint32_t seed) : random_(seed) {}

    GeneratedFile Next();

    // Names and values a write may use: what the file's structure can hold.
    std::string WritableSection();
    std::string WritableKey();
    std::string WritableValue();

  private:
    std::size_t Pick(std::size_t count);
    bool Chance(int percent);
    std::string Blanks();
    std::string Value();

    std::mt19937 random_;
};

}  // namespace generator
