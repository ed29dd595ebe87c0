// Lookups and writes in files of 1 KiB to 16 MiB, against inih and against the floor of merely
// reading the file and finding its lines; a whole template load and save.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <ini.h>
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "BenchFiles.h"
#include "FaultHook.h"
#include "IniAccess.h"
#include "TemplateFile.h"

namespace {

void FileSizes(benchmark::internal::Benchmark* b) {
    for (const long size : {1L << 10, 64L << 10, 1L << 20, 16L << 20}) {
        b->Arg(size);
    }
}

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_ReadProfileValue(benchmark::State& state) {
    const std::string file = bench::ProfileFile(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(IniAccess::ReadProfileValue(file, "Target", "TagName"));
    }
    SetBytes(state);
}
BENCHMARK(BM_ReadProfileValue)->Apply(FileSizes);

struct InihLookup {
    const char* section;
    const char* name;
    std::string value;
};

int InihHandler(void* user, const char* section, const char* name, const char* value) {
    auto* lookup = static_cast<InihLookup*>(user);
    if (lookup->value.empty() && strcasecmp(section, lookup->section) == 0 &&
        strcasecmp(name, lookup->name) == 0) {
        lookup->value = value;
    }
    return 1;
}

void BM_InihLookup(benchmark::State& state) {
    const std::string file = bench::ProfileFile(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        InihLookup lookup{"Target", "TagName", {}};
        ini_parse(file.c_str(), InihHandler, &lookup);
        benchmark::DoNotOptimize(lookup.value);
    }
    SetBytes(state);
}
BENCHMARK(BM_InihLookup)->Apply(FileSizes);

// The floor: read the whole file and find every line end, as any reader must.
void BM_ReadAndScanFloor(benchmark::State& state) {
    const std::string file = bench::ProfileFile(static_cast<std::size_t>(state.range(0)));
    std::string buffer(static_cast<std::size_t>(state.range(0)) + 4096, '\0');
    for (auto _ : state) {
        const int fd = ::open(file.c_str(), O_RDONLY);
        std::size_t size = 0;
        for (ssize_t got; (got = ::read(fd, buffer.data() + size, buffer.size() - size)) > 0;) {
            size += static_cast<std::size_t>(got);
        }
        ::close(fd);
        std::size_t lines = 0;
        for (const char* p = buffer.data();
             (p = static_cast<const char*>(std::memchr(p, '\n', buffer.data() + size - p))); ++p) {
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    SetBytes(state);
}
BENCHMARK(BM_ReadAndScanFloor)->Apply(FileSizes);

void BM_WriteProfileValue(benchmark::State& state) {
    const std::string file = bench::ProfileFile(static_cast<std::size_t>(state.range(0)));
    int round = 0;
    for (auto _ : state) {
        IniAccess::WriteProfileValue(file, "Target", "TagName", "value " + std::to_string(++round));
    }
    SetBytes(state);
}
BENCHMARK(BM_WriteProfileValue)->Apply(FileSizes)->Unit(benchmark::kMicrosecond);

std::string TemplateFile() {
    static const std::string path = [] {
        const std::string file = bench::ProfileFile(1 << 10) + ".kvd";
        quelvar::TagTemplate tagTemplate;
        for (std::size_t field = 0; field < quelvar::kFieldCount; ++field) {
            tagTemplate.SetText(field, "テンプレート " + std::to_string(field));
        }
        quelvar::SaveTemplate(tagTemplate, file);
        return file;
    }();
    return path;
}

void BM_LoadTemplate(benchmark::State& state) {
    const std::string file = TemplateFile();
    for (auto _ : state) {
        quelvar::TagTemplate tagTemplate;
        benchmark::DoNotOptimize(quelvar::LoadTemplate(tagTemplate, file));
    }
}
BENCHMARK(BM_LoadTemplate)->Unit(benchmark::kMicrosecond);

void BM_SaveTemplate(benchmark::State& state) {
    const std::string file = TemplateFile();
    quelvar::TagTemplate tagTemplate;
    quelvar::LoadTemplate(tagTemplate, file);
    int round = 0;
    for (auto _ : state) {
        tagTemplate.SetText(quelvar::kTagName, "tag " + std::to_string(++round));
        quelvar::SaveTemplate(tagTemplate, file);
    }
}
BENCHMARK(BM_SaveTemplate)->Unit(benchmark::kMicrosecond);

// What a template save and load are measured against: one value read or written in the same file.
void BM_ReadOneValueOfTheTemplate(benchmark::State& state) {
    const std::string file = TemplateFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(IniAccess::ReadProfileValue(file, "Quelvar", "TagName"));
    }
}
BENCHMARK(BM_ReadOneValueOfTheTemplate)->Unit(benchmark::kMicrosecond);

void BM_WriteOneValueOfTheTemplate(benchmark::State& state) {
    const std::string file = TemplateFile();
    int round = 0;
    for (auto _ : state) {
        IniAccess::WriteProfileValue(file, "Quelvar", "TagName", "tag " + std::to_string(++round));
    }
}
BENCHMARK(BM_WriteOneValueOfTheTemplate)->Unit(benchmark::kMicrosecond);

// The file operations of one template save and one load, counted through the fault hook.
void BM_TemplateFileOperations(benchmark::State& state) {
    const std::string file = TemplateFile();
    quelvar::TagTemplate tagTemplate;
    quelvar::LoadTemplate(tagTemplate, file);
    int counts[6] = {};
    {
        const IniAccess::internal::ScopedFaultHook hook(
            [&](IniAccess::internal::FileOperation operation, const std::string&) {
                ++counts[static_cast<int>(operation)];
                return 0;
            });
        int round = 0;
        for (auto _ : state) {
            tagTemplate.SetText(quelvar::kTagName, "tag " + std::to_string(++round));
            quelvar::SaveTemplate(tagTemplate, file);
            quelvar::LoadTemplate(tagTemplate, file);
        }
    }
    const double rounds = static_cast<double>(state.iterations());
    using Op = IniAccess::internal::FileOperation;
    state.counters["opens"] = counts[static_cast<int>(Op::Open)] / rounds;
    state.counters["locks"] = counts[static_cast<int>(Op::Lock)] / rounds;
    state.counters["flushes"] = counts[static_cast<int>(Op::Flush)] / rounds;
    state.counters["renames"] = counts[static_cast<int>(Op::Rename)] / rounds;
}
BENCHMARK(BM_TemplateFileOperations)->Unit(benchmark::kMicrosecond);

// A lookup in a 1 MiB file whose lines end in CR LF (0) or in CR alone (1).
void BM_LookupByLineEnd(benchmark::State& state) {
    static const std::string crOnly = [] {
        const std::string source = bench::ProfileFile(1 << 20);
        const std::string target = source + ".cr";
        std::string text = bench::MakeProfile(1 << 20);
        std::string converted;
        for (const char c : text) {
            if (c != '\n') {
                converted += c;
            }
        }
        std::FILE* out = std::fopen(target.c_str(), "wb");
        std::fwrite(converted.data(), 1, converted.size(), out);
        std::fclose(out);
        return target;
    }();
    const std::string file = state.range(0) ? crOnly : bench::ProfileFile(1 << 20);
    for (auto _ : state) {
        benchmark::DoNotOptimize(IniAccess::ReadProfileValue(file, "Target", "TagName"));
    }
    state.SetLabel(state.range(0) ? "CR only" : "CR LF");
}
BENCHMARK(BM_LookupByLineEnd)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
