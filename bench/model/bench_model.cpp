// Speed and memory of the training model:
//   - loading a synthetic base of about a million records (depth 4),
//     with the resident memory per tree element;
//   - MakeText(78) at levels 4, 3 and 2 on a realistic base;
//   - replaying keystroke lines through the task statistics.

#include "common/Random.h"
#include "model/BaseWriter.h"
#include "model/KXBase.h"
#include "model/KXGenerator.h"
#include "model/TaskStatistic.h"
#include "platform/Folders.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
long ResidentBytes()
{
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

TKXBaseParameters Header(int depth)
{
    TKXBaseParameters header;
    header.Depth = depth;
    for (int ch = 'a'; ch <= 'z'; ++ch)
        header.Alphabet.SetIndex(static_cast<std::uint8_t>(ch),
                                 static_cast<std::uint8_t>(header.Alphabet.AddChar(static_cast<std::uint8_t>(ch))));
    return header;
}

// 32 x 32 x 31 first characters, then 30 or 31 leaves each: 1,000,000 records.
const std::string& SyntheticMillion()
{
    static const std::string path = [] {
        std::vector<TBaseRecord> records;
        records.reserve(1000000);
        int leavesLeft = 1000000 - 32 - 32 * 32 - 32 * 32 * 31;
        int innerLeft = 32 * 32 * 31;
        for (int a = 0; a < 32; ++a) {
            records.push_back({1, static_cast<std::uint8_t>(64 + a), 0});
            for (int b = 0; b < 32; ++b) {
                records.push_back({2, static_cast<std::uint8_t>(64 + b), 0});
                for (int c = 0; c < 31; ++c) {
                    records.push_back({3, static_cast<std::uint8_t>(64 + c), 0});
                    const int leaves = leavesLeft / innerLeft--;
                    leavesLeft -= leaves;
                    for (int d = 0; d < leaves; ++d)
                        records.push_back({4, static_cast<std::uint8_t>(64 + d), 1 + (a * b + c + d) % 97});
                }
            }
        }
        const std::string p = (fs::temp_directory_path() / "kx-bench-million.Base").string();
        std::string error;
        if (!WriteBaseFile(p, Header(4), records, error))
            std::fprintf(stderr, "%s\n", error.c_str());
        return p;
    }();
    return path;
}

// The shipped English base when it is beside the program; otherwise a
// synthetic base with about 30,000 leaves and skewed counts.
const std::string& RealisticBase()
{
    static const std::string path = [] {
        const std::string shipped = ProgramFolder() + "Modules/Languages/English.Base";
        if (fs::exists(shipped))
            return shipped;
        std::map<std::string, long long> counts;
        TRandom random(7);
        const std::string letters = "etaoinshrdlcumwfgypbvkjxqz ";
        while (counts.size() < 30000) {
            std::string s;
            for (int i = 0; i < 4; ++i) {
                const int r = random.Next() % 378; // triangular: early letters are common
                int k = 0;
                while ((k + 1) * (k + 2) / 2 <= r)
                    ++k;
                s.push_back(letters[static_cast<std::size_t>(26 - std::min(k, 26))]);
            }
            counts[s] += 1 + random.Next() % 50;
        }
        const std::string p = (fs::temp_directory_path() / "kx-bench-realistic.Base").string();
        std::string error;
        TKXBaseParameters header = Header(4);
        header.Alphabet.SetIndex(' ', static_cast<std::uint8_t>(header.Alphabet.AddChar(' ')));
        WriteBaseFile(p, header, RecordsFromCounts(counts), error);
        return p;
    }();
    return path;
}

int CountElements(const TBaseStructure* e)
{
    int n = 0;
    for (const TBaseStructure* c = e->ChildElement(); c; c = c->NextElement())
        n += 1 + CountElements(c);
    return n;
}

void BM_LoadMillionRecords(benchmark::State& state)
{
    const std::string& path = SyntheticMillion();
    // Memory is measured once, on the first load into fresh memory.
    static long bytesPerElement = -1;
    static int elements = 0;
    if (bytesPerElement < 0) {
        malloc_trim(0);
        const long before = ResidentBytes();
        auto* base = new TKXBase;
        base->Load(path);
        elements = CountElements(base->Root());
        malloc_trim(0); // the file buffer is freed; give its pages back before counting
        bytesPerElement = (ResidentBytes() - before) / elements;
        delete base;
    }
    for (auto _ : state) {
        TKXBase base;
        if (!base.Load(path))
            state.SkipWithError(base.ErrorText().c_str());
        benchmark::DoNotOptimize(base.Root());
    }
    state.counters["elements"] = elements;
    state.counters["bytes_per_element"] = static_cast<double>(bytesPerElement);
}
BENCHMARK(BM_LoadMillionRecords)->Unit(benchmark::kMillisecond);

void BM_MakeText78(benchmark::State& state)
{
    static TKXBase base;
    static bool loaded = base.Load(RealisticBase());
    if (!loaded) {
        state.SkipWithError(base.ErrorText().c_str());
        return;
    }
    TKXGenerator generator(&base);
    generator.SetLevel(static_cast<int>(state.range(0)));
    SharedRandom().Seed(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(generator.MakeText(78));
    int leaves = 0;
    for (const TBaseStructure* a = base.Root()->ChildElement(); a; a = a->NextElement())
        for (const TBaseStructure* b = a->ChildElement(); b; b = b->NextElement())
            for (const TBaseStructure* c = b->ChildElement(); c; c = c->NextElement())
                for (const TBaseStructure* d = c->ChildElement(); d; d = d->NextElement())
                    ++leaves;
    state.counters["leaves"] = leaves;
}
BENCHMARK(BM_MakeText78)->Arg(4)->Arg(3)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_ReplayStatistics(benchmark::State& state)
{
    // One million keystroke lines as the viewer reads them back.
    struct TLine {
        std::uint32_t Interval;
        std::uint8_t Expected, Typed;
    };
    std::vector<TLine> lines;
    TRandom random(3);
    for (int i = 0; i < 1000000; ++i) {
        const auto e = static_cast<std::uint8_t>('a' + random.Next() % 26);
        lines.push_back({static_cast<std::uint32_t>(120 + random.Next() % 300), e,
                         random.Next() % 20 == 0 ? static_cast<std::uint8_t>('x') : e});
    }
    for (auto _ : state) {
        TTaskStatistic stat(nullptr);
        std::uint32_t time = 0;
        long long figures = 0;
        stat.SetClock([&time] { return time; });
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i % 78 == 0) {
                if (i)
                    figures += stat.GetProficiency() + stat.GetTempo() + stat.GetTaskTime() +
                               static_cast<long long>(stat.GetStability() * 100);
                stat.Reset();
            }
            time += lines[i].Interval;
            stat.AddKeystroke(time, lines[i].Expected, lines[i].Typed);
        }
        benchmark::DoNotOptimize(figures);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(lines.size()));
}
BENCHMARK(BM_ReplayStatistics)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
