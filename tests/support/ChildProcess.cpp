#include "ChildProcess.h"

#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace testing_support {

pid_t StartChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        int status = 99;
        try {
            status = body();
        } catch (...) {
        }
        ::_exit(status);
    }
    return child;
}

ChildEnd WaitChild(pid_t child, int timeoutSeconds) {
    ChildEnd end;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            end.timedOut = true;
            return end;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    end.exited = WIFEXITED(status);
    end.status = end.exited ? WEXITSTATUS(status) : -1;
    end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return end;
}

ChildEnd RunChild(const std::function<int()>& body, int timeoutSeconds) {
    return WaitChild(StartChild(body), timeoutSeconds);
}

std::string ChildEnd::Describe() const {
    if (timedOut) {
        return "the child did not end within its deadline and was killed";
    }
    if (!exited) {
        return "the child was ended by signal " + std::to_string(signal);
    }
    return "the child exited with status " + std::to_string(status);
}

bool BecomeNobody(const std::vector<gid_t>& groups) {
    constexpr uid_t kNobody = 65534;
    return ::setgroups(groups.size(), groups.data()) == 0 && ::setgid(kNobody) == 0 &&
           ::setuid(kNobody) == 0;
}

}  // namespace testing_support
