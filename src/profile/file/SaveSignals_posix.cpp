#include <signal.h>

#include <iterator>

#include "PosixReplace.h"

namespace IniAccess::internal::posix {

namespace {

volatile sig_atomic_t deferredSignal = 0;

extern "C" void DeferSignal(int signal) {
    deferredSignal = signal;
}

}  // namespace

// The signals are caught rather than blocked: a mask covers only this thread, and any other
// thread of the program could take the signal. SIGXFSZ is ignored so that a file-size limit
// comes back from write() as EFBIG, a failure the user is shown.
SaveSignals::SaveSignals() {
    deferredSignal = 0;
    struct sigaction defer {};
    defer.sa_handler = DeferSignal;
    defer.sa_flags = SA_RESTART;
    sigfillset(&defer.sa_mask);
    for (std::size_t i = 0; i < std::size(kEnding); ++i) {
        sigaction(kEnding[i], nullptr, &previous_[i]);
        if (previous_[i].sa_handler != SIG_IGN) {
            sigaction(kEnding[i], &defer, nullptr);
        }
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previousXfsz_);
}

SaveSignals::~SaveSignals() {
    sigaction(SIGXFSZ, &previousXfsz_, nullptr);
    for (std::size_t i = 0; i < std::size(kEnding); ++i) {
        sigaction(kEnding[i], &previous_[i], nullptr);
    }
    if (deferredSignal != 0) {
        ::raise(deferredSignal);
    }
}

}  // namespace IniAccess::internal::posix
