#pragma once

#include <functional>
#include <string>
#include <utility>

#include "FaultInjection.h"

// The hook that the tests, fuzzers and profile benchmark install to make file operations fail.
// It is linked only into them; the program, and the benchmarks that measure it as shipped, link
// NoFaults.cpp in its place.
namespace IniAccess::internal {

// A hook that is asked before every file operation; a non-zero result is taken as the errno
// the operation failed with, and the operation is not done. Not thread-safe.
using FaultHook = std::function<int(FileOperation operation, const std::string& path)>;

// Installs the hook and returns the one it replaces.
FaultHook SetFaultHook(FaultHook hook);

// Installs a hook for its own lifetime and then puts the previous one back.
class ScopedFaultHook {
  public:
    explicit ScopedFaultHook(FaultHook hook) : previous_(SetFaultHook(std::move(hook))) {}
    ~ScopedFaultHook() { SetFaultHook(std::move(previous_)); }
    ScopedFaultHook(const ScopedFaultHook&) = delete;
    ScopedFaultHook& operator=(const ScopedFaultHook&) = delete;

  private:
    FaultHook previous_;
};

}  // namespace IniAccess::internal
