// convdrc with 100,000 "readfile" lines: reading and writing it in the file
// layer beside a plain fgets/fputs copy of the same file (the target is at
// most twice the copy), and filling the page's list (must be linear).
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "converter/converter.h"
#include "serverrc/convd_page.h"
#include "serverrc/convdrc_file.h"

namespace {

constexpr int kLines = 100000;

std::string dict_name(int i) {
  return "@LANG/dic/user" + std::to_string(i) + ".dic";
}

// A scratch directory on tmpfs where there is one, so the disk does not dominate.
const std::string& scratch_dir() {
  static std::string dir = [] {
    char pattern[] = "/dev/shm/convdrc-bench.XXXXXX";
    char fallback[] = "/tmp/convdrc-bench.XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) made = mkdtemp(fallback);
    std::string path = std::string(made ? made : "/tmp") + "/";
    FILE* out = fopen((path + "convdrc").c_str(), "w");
    fputs("; dictionaries\nconvd_dir\t\t@VARDIR/dic\n", out);
    for (int i = 0; i < kLines; ++i) fprintf(out, "readfile\t\t%s\n", dict_name(i).c_str());
    fputs("autosave\t\t5\n", out);
    fclose(out);
    return path;
  }();
  return dir;
}

std::string source_path() {
  return scratch_dir() + "convdrc";
}

void BM_FgetsFputsCopy(benchmark::State& state) {
  std::string copy = scratch_dir() + "copy";
  for (auto _ : state) {
    FILE* in = fopen(source_path().c_str(), "r");
    FILE* out = fopen(copy.c_str(), "w");
    char line[1024];
    while (fgets(line, sizeof line, in)) fputs(line, out);
    fclose(out);
    fclose(in);
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_FgetsFputsCopy)->Unit(benchmark::kMillisecond);

void BM_ConvdrcRead(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<ConvdrcSource> source;
    load_convdrc_file(source_path().c_str(), &source);
    benchmark::DoNotOptimize(source->dicts.data());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_ConvdrcRead)->Unit(benchmark::kMillisecond);

// Replaces an existing file, carrying over the file read, as Apply does:
// with the page as read (range 0), or with its first dictionary changed, so
// that every row is matched to its line again (range 1).
void BM_ConvdrcWrite(benchmark::State& state) {
  std::unique_ptr<ConvdrcSource> source;
  load_convdrc_file(source_path().c_str(), &source);
  ConvdSettings settings = source->settings();
  if (state.range(0)) settings.dicts.front() = "changed.dic";
  std::string target = scratch_dir() + "written";
  fclose(fopen(target.c_str(), "w"));
  for (auto _ : state)
    if (save_convdrc_file(scratch_dir().c_str(), "written", source.get(), settings) != 0)
      state.SkipWithError("save failed");
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_ConvdrcWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Fills the dictionary list of a real page and fits its column.
void BM_FillDictList(benchmark::State& state) {
  MainWindow main{};
  main.notebook = gtk_notebook_new();
  g_object_ref_sink(main.notebook);
  main_window_record = &main;
  main.apply_button = gtk_button_new();  // filling marks the page dirty
  g_object_ref_sink(main.apply_button);
  build_convd_page(&main);
  ConvdSettings settings;
  for (int i = 0; i < state.range(0); ++i) settings.dicts.push_back(dict_name(i));
  for (auto _ : state) {
    show_convd_settings(main.convd_page.get(), settings);
    fit_dict_column(main.convd_page.get());
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  for (GtkWidget* widget : {main.notebook, main.apply_button}) {
    gtk_widget_destroy(widget);
    g_object_unref(widget);
  }
  main.convd_page.reset();
  main_window_record = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  load_converter(TOLQ_TEST_CONVERTER);
  if (gtk_init_check(&argc, &argv))
    BENCHMARK(BM_FillDictList)
        ->Arg(10000)
        ->Arg(100000)
        ->Complexity(benchmark::oN)
        ->Unit(benchmark::kMillisecond);
  else
    fprintf(stderr, "no display: the list benchmarks are left out\n");
  benchmark::RunSpecifiedBenchmarks();
  std::string command = "rm -rf '" + scratch_dir() + "'";
  return system(command.c_str()) == 0 ? 0 : 1;
}
