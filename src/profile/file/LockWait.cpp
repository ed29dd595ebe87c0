#include "LockWait.h"

#include <chrono>
#include <system_error>
#include <thread>

#include "FaultInjection.h"
#include "ProfileError.h"

namespace IniAccess::internal {

namespace {

// Another writer holds the lock only for the moment of its save; one that never lets go (a
// stopped process) is reported rather than waited for: the caller is blocked meanwhile.
constexpr int kLockWaitMs = 10000;
constexpr int kPollMs = 5;

[[noreturn]] void Busy(const std::string& path) {
    throw ProfileIoError(path, std::make_error_code(std::errc::device_or_resource_busy));
}

}  // namespace

bool WaitForLock(const std::string& path, const std::function<bool()>& tryLock,
                 const std::function<bool()>& keepWaiting) {
    for (int waited = 0;; waited += kPollMs) {
        if (const int error = InjectedFault(FileOperation::Lock, path)) {
            throw ProfileIoError(path, std::error_code(error, std::generic_category()));
        }
        if (tryLock()) {
            return true;
        }
        if (waited >= kLockWaitMs) {
            Busy(path);
        }
        if (keepWaiting && !keepWaiting()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
}

void RetryWhileReplaced(const std::string& path, const std::function<bool()>& attempt) {
    for (int tries = 0; tries < 100; ++tries) {
        if (attempt()) {
            return;
        }
    }
    Busy(path);
}

}  // namespace IniAccess::internal
