// Peak memory of one read and one write of a large file, as a multiple of its size: the file is
// made first, then each operation runs in a child process of its own, whose high-water mark
// less what it had before is the operation's peak.
#include <sys/resource.h>
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

long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Reports the operation's peak through the exit pipe, in KiB.
template <typename Operation>
long MeasureInChild(Operation operation) {
    int channel[2];
    if (pipe(channel) != 0) {
        std::exit(2);
    }
    const pid_t child = fork();
    if (child == 0) {
        const long before = PeakKiB();
        operation();
        const long used = PeakKiB() - before;
        (void)!write(channel[1], &used, sizeof used);
        _exit(0);
    }
    long used = -1;
    (void)!read(channel[0], &used, sizeof used);
    waitpid(child, nullptr, 0);
    return used;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::size_t size = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16u << 20;
    const std::string file = bench::ProfileFile(size);
    const double mib = static_cast<double>(std::filesystem::file_size(file)) / (1 << 20);
    const long read = MeasureInChild([&] {
        if (IniAccess::ReadProfileValue(file, "Target", "TagName") != "found") {
            std::exit(1);
        }
    });
    const long write = MeasureInChild([&] {
        if (!IniAccess::WriteProfileValue(file, "Target", "TagName", "changed")) {
            std::exit(1);
        }
    });
    std::printf(
        "file %.1f MiB: read peak %.1f MiB (%.2fx the file), write peak %.1f MiB "
        "(%.2fx the file)\n",
        mib, read / 1024.0, read / 1024.0 / mib, write / 1024.0, write / 1024.0 / mib);
    std::filesystem::remove_all(std::filesystem::path(file).parent_path());
    return 0;
}
