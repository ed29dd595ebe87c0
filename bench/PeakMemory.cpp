// Peak memory of one read and one write of a large file, as a multiple of its size: the file is
// made first, then each operation runs in a child process of its own, whose peak resident size
// less what it had before is the operation's peak.
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchFiles.h"
#include "IniAccess.h"

namespace {

// A field of /proc/self/status, in KiB.
long StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) {
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
        }
    }
    std::exit(3);
}

// A child starts with its parent's peak, which may be far above what it holds (the peak made
// the test file), and with the memory its parent freed still resident, which an operation could
// use without any growth. Returning that and resetting the peak leaves the child's own.
void ResetPeak() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Reports the operation's peak through the exit pipe, in KiB. The child first runs warmUp,
// which loads and touches the code the operation runs, so that what is left is the memory the
// operation holds for the file.
template <typename WarmUp, typename Operation>
long MeasureInChild(WarmUp warmUp, Operation operation) {
    int channel[2];
    if (pipe(channel) != 0) {
        std::exit(2);
    }
    const pid_t child = fork();
    if (child == 0) {
        warmUp();
        ResetPeak();
        const long before = StatusKiB("VmRSS");
        operation();
        const long used = StatusKiB("VmHWM") - before;
        (void)!write(channel[1], &used, sizeof used);
        _exit(0);
    }
    long used = -1;
    (void)!read(channel[0], &used, sizeof used);
    waitpid(child, nullptr, 0);
    return used;
}

void Print(const char* operation, double mib, long coldKiB, long warmKiB) {
    std::printf(
        "file %.1f MiB: %s peak %.1f MiB (%.2fx the file); after a write to a 1 KiB file, "
        "which loads the code: %.1f MiB (%.2fx the file)\n",
        mib, operation, coldKiB / 1024.0, coldKiB / 1024.0 / mib, warmKiB / 1024.0,
        warmKiB / 1024.0 / mib);
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::size_t size = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16u << 20;
    const std::string file = bench::ProfileFile(size);
    const double mib = static_cast<double>(std::filesystem::file_size(file)) / (1 << 20);
    const auto read = [&] {
        if (IniAccess::ReadProfileValue(file, "Target", "TagName") != "found") {
            std::exit(1);
        }
    };
    // Each write stores a value of its own, so that none finds its value already there (each
    // runs in a child of its own, but the file it changes is shared).
    const auto write = [&](const char* value) {
        if (!IniAccess::WriteProfileValue(file, "Target", "TagName", value)) {
            std::exit(1);
        }
    };
    const std::string small = bench::ProfileFile(1 << 10);
    const auto writeSmall = [&] {
        if (!IniAccess::WriteProfileValue(small, "Target", "TagName", "warm")) {
            std::exit(1);
        }
    };
    const auto nothing = [] {};
    const long readCold = MeasureInChild(nothing, read);
    const long readWarm = MeasureInChild(writeSmall, read);
    const long writeCold = MeasureInChild(nothing, [&] { write("changed 1"); });
    const long writeWarm = MeasureInChild(writeSmall, [&] { write("changed 2"); });
    Print("read", mib, readCold, readWarm);
    Print("write", mib, writeCold, writeWarm);
    std::filesystem::remove_all(std::filesystem::path(file).parent_path());
    return 0;
}
