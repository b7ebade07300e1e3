// Start-up time (from exec to the main window mapped) and resident memory at
// rest of the installed program, in the sandbox with typical settings files,
// beside minimal GTK+ 2 programs that map one window: empty, with a Japanese
// label, and a Japanese form (label and entry in ja_JP.UTF-8, so the CJK fonts
// and the input method load). The form is the floor the program is held to:
// the two run in turn, started the same way, and the ratio of their medians
// and the difference of their peak memory are reported.
//
// Needs a display, root (for the sandbox) and a staged installation:
//   TOLQ_STAGE=build/stage TOLQ_SOURCE=. with-display build/bench/startup_bench
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string env(const char* name, const char* fallback) {
  const char* value = getenv(name);
  return value && *value ? value : fallback;
}

int64_t now_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string window_title(Display* display, Window window) {
  char* name = nullptr;
  std::string title;
  if (XFetchName(display, window, &name) && name) {
    title = name;
    XFree(name);
  }
  return title;
}

long window_pid(Display* display, Window window) {
  Atom atom = XInternAtom(display, "_NET_WM_PID", True);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  long pid = -1;
  if (atom != None &&
      XGetWindowProperty(display, window, atom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                         &after, &data) == Success &&
      data) {
    if (count == 1) pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    XFree(data);
  }
  return pid;
}

long peak_rss_kib(long pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

// The processor time all threads of a process have run, from the
// scheduler's own accounting (nanoseconds); -1 when it cannot be read. Less
// disturbed than the elapsed time by the other work of a shared machine.
double cpu_seconds(long pid) {
  if (pid < 0) return -1;
  std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = opendir(tasks.c_str());
  if (!dir) return -1;
  double total = 0;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
    long long run_ns = 0;
    if (stat >> run_ns) total += static_cast<double>(run_ns) / 1e9;
  }
  closedir(dir);
  return total;
}

struct Run {
  double seconds = -1;
  double cpu_seconds = -1;  // of the program, up to its window being mapped
  long rss_kib = -1;
};

// Starts program in the sandbox and waits for its window titled title to be mapped.
Run start_once(const std::string& program, const std::string& title, bool measure_memory) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return {};
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  std::string stage = env("TOLQ_STAGE", "build/stage");
  std::string source = env("TOLQ_SOURCE", ".");
  char etc[] = "/tmp/tolq-bench.XXXXXX";
  if (!mkdtemp(etc)) return {};
  std::string copy = "cp -r " + source + "/data/samples/etc/. " + etc;
  if (system(copy.c_str()) != 0) return {};
  std::string stamp = std::string(etc) + "/.exec-time";
  pid_t pid = fork();
  if (pid == 0) {
    setsid();
    std::string shell = "date +%s%N > '" + stamp + "'; exec " + program;
    execl((source + "/scripts/sandbox").c_str(), "sandbox", "--stage", stage.c_str(), "--etc", etc,
          "--", "/bin/sh", "-c", shell.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  Run run;
  auto deadline = now_ns() + 30'000'000'000LL;
  while (now_ns() < deadline && run.seconds < 0) {
    if (!XPending(display)) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != MapNotify || window_title(display, event.xmap.window) != title) continue;
    int64_t mapped = now_ns();
    std::ifstream in(stamp);
    int64_t started = 0;
    in >> started;
    run.seconds = static_cast<double>(mapped - started) / 1e9;
    run.cpu_seconds = cpu_seconds(window_pid(display, event.xmap.window));
    if (measure_memory) {
      std::this_thread::sleep_for(std::chrono::seconds(1));  // at rest
      run.rss_kib = peak_rss_kib(window_pid(display, event.xmap.window));
    }
  }
  kill(-pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  XCloseDisplay(display);
  std::string remove = std::string("rm -rf ") + etc;
  if (system(remove.c_str()) != 0) {
  }
  return run;
}

void startup(benchmark::State& state, const std::string& program, const std::string& title) {
  for (auto _ : state) {
    Run run = start_once(program, title, false);
    if (run.seconds < 0) {
      state.SkipWithError("the window did not appear");
      return;
    }
    state.SetIterationTime(run.seconds);
  }
}

void memory(benchmark::State& state, const std::string& program, const std::string& title) {
  for (auto _ : state) {
    Run run = start_once(program, title, true);
    if (run.rss_kib < 0) {
      state.SkipWithError("no memory figure");
      return;
    }
    state.SetIterationTime(run.seconds);
    state.counters["peak_rss_MiB"] = static_cast<double>(run.rss_kib) / 1024.0;
  }
}

// Shell command lines run inside the sandbox.
std::string program() {
  return env("TOLQ_STAGE", "build/stage") + "/usr/bin/tolqsysenv_server";
}
std::string minimal() {
  return env("TOLQ_MINIMAL", TOLQ_MINIMAL_WINDOW);
}
std::string minimal_with_label() {
  return minimal() + " --label";
}
std::string japanese_form() {
  return minimal() + " --form";
}

template <typename T>
double median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? static_cast<double>(values[n / 2])
               : static_cast<double>(values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// The program and the Japanese-form floor in turn (swapping which goes first),
// so that the shared machine's drift falls on both alike. The iteration time
// is the program's; the counters are the medians of both.
void startup_beside_japanese_form(benchmark::State& state) {
  std::vector<double> program_ms, floor_ms, program_cpu_ms, floor_cpu_ms;
  std::vector<long> program_kib, floor_kib;
  bool program_first = true;
  for (auto _ : state) {
    Run first = start_once(program_first ? program() : japanese_form(),
                           program_first ? "TolqSysEnv_Server" : "minimal_window", true);
    Run second = start_once(program_first ? japanese_form() : program(),
                            program_first ? "minimal_window" : "TolqSysEnv_Server", true);
    const Run& ours = program_first ? first : second;
    const Run& form = program_first ? second : first;
    if (ours.rss_kib < 0 || form.rss_kib < 0) {
      state.SkipWithError("a window did not appear");
      return;
    }
    state.SetIterationTime(ours.seconds);
    program_ms.push_back(ours.seconds * 1e3);
    floor_ms.push_back(form.seconds * 1e3);
    program_cpu_ms.push_back(ours.cpu_seconds * 1e3);
    floor_cpu_ms.push_back(form.cpu_seconds * 1e3);
    program_kib.push_back(ours.rss_kib);
    floor_kib.push_back(form.rss_kib);
    program_first = !program_first;
  }
  double ours = median(program_ms), form = median(floor_ms);
  state.counters["program_ms"] = ours;
  state.counters["form_ms"] = form;
  state.counters["ratio"] = ours / form;
  double ours_cpu = median(program_cpu_ms), form_cpu = median(floor_cpu_ms);
  state.counters["program_cpu_ms"] = ours_cpu;
  state.counters["form_cpu_ms"] = form_cpu;
  state.counters["cpu_ratio"] = ours_cpu / form_cpu;
  state.counters["program_MiB"] = median(program_kib) / 1024.0;
  state.counters["form_MiB"] = median(floor_kib) / 1024.0;
  state.counters["more_MiB"] = (median(program_kib) - median(floor_kib)) / 1024.0;
}

BENCHMARK_CAPTURE(startup, tolqsysenv_server, program(), "TolqSysEnv_Server")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(startup, minimal_window, minimal(), "minimal_window")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(startup, minimal_window_with_label, minimal_with_label(), "minimal_window")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(memory, tolqsysenv_server, program(), "TolqSysEnv_Server")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(memory, minimal_window, minimal(), "minimal_window")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(memory, minimal_window_with_label, minimal_with_label(), "minimal_window")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(startup_beside_japanese_form)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);

}  // namespace

BENCHMARK_MAIN();
