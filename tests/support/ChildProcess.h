#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// Real processes for tests of what happens between programs: locks, renames, signals, limits.
namespace testing_support {

// Runs body in a forked child, whose exit status is body's result; an exception is status 99.
pid_t StartChild(const std::function<int()>& body);

struct ChildEnd {
    bool exited = false;
    int status = -1;  // the exit status, when exited
    int signal = 0;   // the signal that ended it, when not
    bool timedOut = false;

    bool Succeeded() const { return exited && status == 0; }
    std::string Describe() const;
};

// The children of these tests end within a few seconds, under the sanitizers too: one that
// hangs is killed and reported at this deadline instead of stalling the suite.
inline constexpr int kChildDeadlineSeconds = 20;

// Waits for the child; one still running after timeoutSeconds is killed and reported so.
ChildEnd WaitChild(pid_t child, int timeoutSeconds = kChildDeadlineSeconds);

// Runs body in a child and waits for it.
ChildEnd RunChild(const std::function<int()>& body, int timeoutSeconds = kChildDeadlineSeconds);

// Drops to the unprivileged user nobody, with the given supplementary groups. Only a process
// running as root can; false when this one cannot.
bool BecomeNobody(const std::vector<gid_t>& groups);

}  // namespace testing_support
