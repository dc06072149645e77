// Profile store timings: warm key reads, one atomic write (fsync included) and the parse of a large
// file with a cold cache. The files live in a temporary folder under /tmp, removed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "store/Cp932.h"
#include "store/Profile.h"

using namespace talvorin;

namespace {

struct Entry {
  std::string section, key, value;  // UTF-8, as callers give them
};

std::string folder;  // the temporary folder of this run

// A profile of `sections` sections of `keysPerSection` keys; every fourth key, every fifth section and
// some values are Japanese. Each section starts with a comment and ends with a blank line, as hand-kept
// files do.
std::vector<Entry> MakeEntries(int sections, int keysPerSection) {
  std::vector<Entry> entries;
  for (int s = 0; s < sections; ++s) {
    std::string section = (s % 5 == 4 ? "加工条件" : "Tool") + std::to_string(s + 1);
    for (int k = 0; k < keysPerSection; ++k) {
      std::string key = (k % 4 == 3 ? "送り速度" : "Param") + std::to_string(k);
      std::string value =
          k % 7 == 6 ? "エンドミル φ" + std::to_string(k % 13) : std::to_string(k * 0.125 + s);
      entries.push_back({section, std::move(key), std::move(value)});
    }
  }
  return entries;
}

// Writes the entries as a CP932 file with CR LF line ends; returns its size in bytes.
std::size_t WriteProfileFile(const std::string& path, const std::vector<Entry>& entries) {
  std::string text;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i == 0 || entries[i].section != entries[i - 1].section) {
      if (i != 0) text += "\r\n";
      text += "; " + entries[i].section + " の設定\r\n[" + entries[i].section + "]\r\n";
    }
    text += entries[i].key + "=" + entries[i].value + "\r\n";
  }
  std::string bytes;
  if (!Utf8ToCp932(text, bytes)) {
    std::fprintf(stderr, "profile_bench: test data is not CP932 text\n");
    std::exit(1);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "profile_bench: cannot write %s\n", path.c_str());
    std::exit(1);
  }
  return bytes.size();
}

// 1,000 keys in 20 sections, read in a shuffled order from a warm cache.
void BM_WarmRead(benchmark::State& state) {
  const std::string file = folder + "/read.ini";
  std::vector<Entry> entries = MakeEntries(20, 50);
  WriteProfileFile(file, entries);
  std::shuffle(entries.begin(), entries.end(), std::mt19937(42));
  ClearProfileCache();
  for (const Entry& e : entries) {
    if (ReadString(file, e.section, e.key, 256) != e.value) {
      state.SkipWithError("a key did not read back as written");
      return;
    }
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const Entry& e = entries[i];
    benchmark::DoNotOptimize(ReadString(file, e.section, e.key, 256));
    if (++i == entries.size()) i = 0;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
// Five runs of about a second; the median is the figure to quote (other work on the machine shows as
// spread between runs).
BENCHMARK(BM_WarmRead)->Repetitions(5)->ReportAggregatesOnly(true);

// One write of an existing key into a 1,000-key file: a copy of the cached parse, the line rewritten,
// temporary file, fsync, rename, fsync of the folder, and a parse of the new content for the cache. Each
// repetition is a single write, so the median is that of 200 writes.
void BM_WriteOneKey(benchmark::State& state) {
  static const std::vector<Entry> entries = MakeEntries(20, 50);
  static int round = 0;
  const std::string file = folder + "/write.ini";
  if (round == 0) WriteProfileFile(file, entries);
  for (auto _ : state) {
    const Entry& e = entries[static_cast<std::size_t>(round * 37) % entries.size()];
    if (!WriteString(file, e.section, e.key, "12.5" + std::to_string(round))) {
      state.SkipWithError("the write failed");
      break;
    }
    ++round;
  }
}
BENCHMARK(BM_WriteOneKey)
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("p90", [](const std::vector<double>& v) {
      std::vector<double> sorted = v;
      std::sort(sorted.begin(), sorted.end());
      return sorted[sorted.size() * 9 / 10];
    });

// The first read of a 1 MB file: read from the OS page cache and parsed in full. The profile cache is
// dropped (outside the timing) before every read.
void BM_ColdParse1MB(benchmark::State& state) {
  const std::string file = folder + "/large.ini";
  std::vector<Entry> entries = MakeEntries(20, 2320);  // 46,400 keys, 1.05 MB
  std::size_t size = WriteProfileFile(file, entries);
  const Entry& last = entries.back();
  for (auto _ : state) {
    state.PauseTiming();
    ClearProfileCache();
    state.ResumeTiming();
    if (ReadString(file, last.section, last.key, 256) != last.value) {
      state.SkipWithError("the last key did not read back as written");
      break;
    }
  }
  state.counters["file_bytes"] = static_cast<double>(size);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_ColdParse1MB)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::string name = "/tmp/profile_bench.XXXXXX";
  if (!mkdtemp(name.data())) {
    std::perror("profile_bench: mkdtemp");
    return 1;
  }
  folder = name;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return 0;
}
