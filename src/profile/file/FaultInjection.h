#pragma once

#include <functional>
#include <string>
#include <utility>

// Making file operations fail on request, so that tests can prove what a failure at any step
// leaves behind. The hook exists only in builds with QUELVAR_FAULT_HOOK (those that build the
// tests, fuzzers or benchmarks); elsewhere no operation is ever failed on purpose.
namespace IniAccess {

// The file operations a profile read or write is made of.
enum class FileOperation { Open, Read, Write, Flush, Rename, Lock };

#ifdef QUELVAR_FAULT_HOOK

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

// The errno the hook asks the operation to fail with, or 0.
int InjectedFault(FileOperation operation, const std::string& path);

#else

inline int InjectedFault(FileOperation, const std::string&) {
    return 0;
}

#endif

}  // namespace IniAccess
