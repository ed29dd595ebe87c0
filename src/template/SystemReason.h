#pragma once

#include <string>
#include <system_error>

namespace quelvar {

// Why a file operation failed, in words for the user: a Japanese and an English sentence.
struct SystemReason {
    std::string japanese;
    std::string english;
};

SystemReason DescribeSystemError(std::error_code code);

}  // namespace quelvar
