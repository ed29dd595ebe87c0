#pragma once

#include <functional>
#include <string>

// Taking turns at a file, the same on every system: the waiting for another program's lock, and
// the retries when another program replaced the file between its opening and its locking.
namespace IniAccess::internal {

// Tries to lock until tryLock says it has the lock, every 5 ms. keepWaiting, when given, is asked
// before each wait; false from it ends the waiting, and the result is then false. Throws
// ProfileIoError with what the fault hook asks for, or EBUSY after 10 seconds.
bool WaitForLock(const std::string& path, const std::function<bool()>& tryLock,
                 const std::function<bool()>& keepWaiting = {});

// Opens and locks the file through attempt, again while attempt reports that the path came to
// name another file before the lock was taken. Throws ProfileIoError with EBUSY when the file
// keeps being replaced.
void RetryWhileReplaced(const std::string& path, const std::function<bool()>& attempt);

}  // namespace IniAccess::internal
