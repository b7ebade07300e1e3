// Reading and saving a tolqhosts of 100,000 lines: the 50 blocks of 50 entries
// that the page shows, then servers past the 50th, which a save keeps as they
// are. Beside a plain line-copy loop over that file.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "access/access_file.h"
#include "common/text.h"

namespace {

struct Scratch {
  std::string dir;
  std::string old_path;
  Scratch() {
    char pattern[] = "/tmp/tolq-bench.XXXXXX";
    dir = std::string(mkdtemp(pattern)) + "/";
    old_path = dir + "tolqhosts";
    std::string text;
    for (int b = 0; b < MAX_ACCESS_BLOCKS; ++b) {
      text += "; server " + std::to_string(b) + "\nconvd\tja_JP host" + std::to_string(b) + "/" +
              std::to_string(1000 + b) + " { \n";
      for (int e = 0; e < MAX_BLOCK_ENTRIES; ++e)
        text += "client" + std::to_string(e) + ".example.com:user" + std::to_string(e) + "\n";
      text += "}\n";
    }
    for (int b = MAX_ACCESS_BLOCKS, lines = 2600; lines < 100000; ++b, lines += 4)
      text += "; server " + std::to_string(b) + "\nconvd\tja_JP host" + std::to_string(b) +
              " { \nclient.example.com:user\n}\n";
    FILE* file = fopen(old_path.c_str(), "w");
    fputs(text.c_str(), file);
    fclose(file);
  }
  ~Scratch() {
    unlink(old_path.c_str());
    unlink((dir + "copy").c_str());
    unlink((dir + "out").c_str());
    rmdir(dir.c_str());
  }
};

Scratch& scratch() {
  static Scratch instance;
  return instance;
}

void BM_LineCopy(benchmark::State& state) {
  for (auto _ : state) {
    FILE* in = fopen(scratch().old_path.c_str(), "r");
    FILE* out = fopen((scratch().dir + "copy").c_str(), "w");
    char line[kLineSize];
    while (fgets(line, sizeof line, in)) fputs(line, out);
    fclose(out);
    fclose(in);
  }
}
BENCHMARK(BM_LineCopy)->Unit(benchmark::kMillisecond);

void BM_ReadAccessFile(benchmark::State& state) {
  AccessModel model;
  for (auto _ : state) read_access_path(model, scratch().dir.c_str(), "tolqhosts");
  state.counters["blocks"] = model.block_count;
}
BENCHMARK(BM_ReadAccessFile)->Unit(benchmark::kMillisecond);

// The merge itself, in memory.
void BM_MergeAccessFile(benchmark::State& state) {
  AccessModel model;
  read_access_path(model, scratch().dir.c_str(), "tolqhosts");
  for (auto _ : state) benchmark::DoNotOptimize(render_access_model(model, true));
}
BENCHMARK(BM_MergeAccessFile)->Unit(benchmark::kMillisecond);

// The whole save: temporary file, merge, flush to disk and rename.
void BM_SaveAccessFile(benchmark::State& state) {
  AccessModel model;
  read_access_path(model, scratch().dir.c_str(), "tolqhosts");
  for (auto _ : state) save_access_model(model, true, scratch().dir.c_str(), "out");
}
BENCHMARK(BM_SaveAccessFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
