// Side-by-side figures of the real program against a bare Qt window of the
// same size, in one run on the same display:
//   start-up to the first painted frame of the handheld (sound choice
//   stored, splash off), key press to the end of its repaint, CPU time over a
//   minute of Game B and how late its timer handlers ran, and peak memory; a
//   first start to its start-up dialog painted against a plain dialog; a
//   minute of the clock view with a sound output chosen; and the cost of the
//   game controllers (none connected): a minute of the clock view with and
//   without them.
// Run under X (tools/run-benchmarks gives it a private Xvfb).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/app/bench_clock.h"

namespace fs = std::filesystem;

namespace {

struct Child {
  pid_t pid = -1;
  int out = -1;
  std::int64_t spawnedAt = 0;
};

Child spawn(const std::string& program, const std::vector<std::string>& args, const fs::path& folder,
            const fs::path& config) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) std::exit(2);
  Child child;
  child.spawnedAt = mk::bench::monotonicNs();
  child.pid = fork();
  if (child.pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (chdir(folder.c_str()) != 0) _exit(127);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  child.out = pipeFds[0];
  return child;
}

struct Result {
  std::string line;  // the child's last line of output
  long maxRssKb = 0;
};

Result finish(Child& child) {
  std::string text;
  char buffer[512];
  ssize_t n;
  while ((n = read(child.out, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
  close(child.out);
  int status = 0;
  rusage usage{};
  wait4(child.pid, &status, 0, &usage);
  Result r;
  r.maxRssKb = usage.ru_maxrss;
  const auto end = text.find_last_not_of('\n');
  const auto start = text.rfind('\n', end);
  r.line = end == std::string::npos ? "" : text.substr(start == std::string::npos ? 0 : start + 1, end - start);
  return r;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void verdict(const char* what, double value, double limit, const char* unit) {
  std::printf("  %-46s %9.2f %-3s (target <= %.2f) %s\n", what, value, unit, limit, value <= limit ? "ok" : "OVER");
}

}  // namespace

int main() {
  const fs::path tree = MK_RUNTIME_DIR;
  const std::string game = MK_GAME_BENCH;
  const std::string bare = MK_BARE_WINDOW;
  if (!std::getenv("DISPLAY")) {
    std::puts("shell benchmark: no X display, skipped");
    return 0;
  }

  // Private settings folders with a sound choice stored and the splash off:
  // an output (mixed by SDL's silent driver) and "(no sound)".
  const fs::path root = fs::temp_directory_path() / ("mk-bench-" + std::to_string(getpid()));
  const auto settingsWith = [&root](int soundMode) {
    const fs::path config = root / ("sound" + std::to_string(soundMode));
    fs::create_directories(config / "Tamarisk");
    std::ofstream(config / "Tamarisk" / "MarshKpr50.conf")
        << "[General]\nFullscreenMode=0\nSoundMode=" << soundMode
        << "\nSplashScreen=0\nKey1=2\nKey2=6\nKey3=39\nKey4=40\n";
    return config;
  };
  const fs::path withSound = settingsWith(0);
  const fs::path silent = settingsWith(2);
  // A first start: nothing chosen yet, so the start-up dialog comes up.
  const fs::path firstStart = root / "first";
  fs::create_directories(firstStart / "Tamarisk");
  std::ofstream(firstStart / "Tamarisk" / "MarshKpr50.conf") << "[General]\nFullscreenMode=0\n";
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);

  constexpr int kRuns = 9;
  std::vector<double> gameStart, bareStart;
  long gamePeak = 0, barePeak = 0;
  for (int i = 0; i < kRuns; ++i) {
    for (int which = 0; which < 2; ++which) {
      Child c = which == 0 ? spawn(game, {"startup"}, tree, withSound) : spawn(bare, {"startup"}, tree, silent);
      const Result r = finish(c);
      long long paintedAt = 0;
      if (std::sscanf(r.line.c_str(), "painted %lld", &paintedAt) != 1) {
        std::printf("start-up run gave no figure: '%s'\n", r.line.c_str());
        return 1;
      }
      const double ms = static_cast<double>(paintedAt - c.spawnedAt) / 1e6;
      (which == 0 ? gameStart : bareStart).push_back(ms);
      long& peak = which == 0 ? gamePeak : barePeak;
      peak = std::max(peak, r.maxRssKb);
    }
  }

  // Launch to the start-up dialog painted, against a plain dialog of its size.
  std::vector<double> splashStart, bareDialogStart;
  for (int i = 0; i < kRuns; ++i) {
    for (int which = 0; which < 2; ++which) {
      Child c = which == 0 ? spawn(game, {"splash"}, tree, firstStart) : spawn(bare, {"dialog"}, tree, silent);
      const Result r = finish(c);
      long long paintedAt = 0;
      if (std::sscanf(r.line.c_str(), "painted %lld", &paintedAt) != 1) {
        std::printf("splash run gave no figure: '%s'\n", r.line.c_str());
        return 1;
      }
      (which == 0 ? splashStart : bareDialogStart).push_back(static_cast<double>(paintedAt - c.spawnedAt) / 1e6);
    }
  }

  Child lat = spawn(game, {"latency", "200"}, tree, withSound);
  const Result latency = finish(lat);
  double latMedian = 0, latP90 = 0, latMax = 0;
  std::sscanf(latency.line.c_str(), "latency %lf %lf %lf", &latMedian, &latP90, &latMax);

  // The minutes of play, with and without sound, and the bare timer run side by side.
  Child play = spawn(game, {"play", "60"}, tree, withSound);
  Child playSilent = spawn(game, {"play", "60"}, tree, silent);
  Child ticks = spawn(bare, {"timer", "60"}, tree, silent);
  const Result played = finish(play);
  const Result playedSilent = finish(playSilent);
  const Result ticked = finish(ticks);
  double playCpu = 0, silentCpu = 0, tickCpu = 0;
  long rss = 0;
  // How late the timer handlers ran in the minute of Game B with sound, in µs.
  double lateMedian = 0, lateP99 = 0, lateMax = 0;
  long lateCount = 0;
  std::sscanf(played.line.c_str(), "usage %lf %ld %lf %lf %lf %ld", &playCpu, &rss, &lateMedian, &lateP99, &lateMax,
              &lateCount);
  std::sscanf(playedSilent.line.c_str(), "usage %lf %ld", &silentCpu, &rss);
  std::sscanf(ticked.line.c_str(), "usage %lf %ld", &tickCpu, &rss);

  // The clock view left alone, with the game controllers pumped for hot-plug
  // and without them, two of each side by side: a minute of it costs a few
  // milliseconds, so one run alone is within the clock's own jitter. And the
  // clock view with a sound output chosen (its device closes while nothing
  // plays), beside another minute of the bare timer program.
  constexpr int kClockPairs = 2;
  std::vector<Child> clockPads, clockBare;
  for (int i = 0; i < kClockPairs; ++i) {
    clockPads.push_back(spawn(game, {"clock", "60"}, tree, silent));
    clockBare.push_back(spawn(game, {"clock", "60", "without-pads"}, tree, silent));
  }
  Child clockSound = spawn(game, {"clock", "60"}, tree, withSound);
  Child ticksAgain = spawn(bare, {"timer", "60"}, tree, silent);
  double clockPadsCpu = 0, clockBareCpu = 0, clockSoundCpu = 0, tickAgainCpu = 0;
  long clockPadsPeak = 0, clockBarePeak = 0;
  std::string padsNotes, bareNotes;
  for (int i = 0; i < kClockPairs; ++i) {
    for (int which = 0; which < 2; ++which) {
      const Result r = finish(which == 0 ? clockPads[static_cast<std::size_t>(i)] : clockBare[static_cast<std::size_t>(i)]);
      double cpu = 0;
      char note[16] = "";
      std::sscanf(r.line.c_str(), "usage %lf %ld %15s", &cpu, &rss, note);
      (which == 0 ? clockPadsCpu : clockBareCpu) += cpu / kClockPairs;
      long& peak = which == 0 ? clockPadsPeak : clockBarePeak;
      peak = std::max(peak, r.maxRssKb);
      (which == 0 ? padsNotes : bareNotes) += std::string(note) + " ";
    }
  }
  const Result clockedSound = finish(clockSound);
  const Result tickedAgain = finish(ticksAgain);
  std::sscanf(clockedSound.line.c_str(), "usage %lf", &clockSoundCpu);
  std::sscanf(tickedAgain.line.c_str(), "usage %lf", &tickAgainCpu);
  fs::remove_all(root);
  if (padsNotes != "pads pads " || bareNotes != "no-pads no-pads ") {
    std::printf("the clock runs did not have the game controllers as asked: '%s', '%s'\n", padsNotes.c_str(),
                bareNotes.c_str());
    return 1;
  }

  const double gs = median(gameStart), bs = median(bareStart);
  std::printf("start-up to first painted frame (median of %d): game %.1f ms, bare window %.1f ms\n", kRuns, gs, bs);
  const double ss = median(splashStart), bd = median(bareDialogStart);
  std::printf("start-up to the start-up dialog painted (median of %d): game %.1f ms, bare dialog %.1f ms\n", kRuns,
              ss, bd);
  std::printf("key press to end of repaint: median %.3f ms, 90th percentile %.3f ms, max %.3f ms\n",
              latMedian / 1000, latP90 / 1000, latMax / 1000);
  std::printf("CPU over 60 s: Game B %.0f ms with sound output, %.0f ms with \"(no sound)\"; bare 120 ms timer %.0f ms\n",
              playCpu, silentCpu, tickCpu);
  std::printf("timer lateness over 60 s of Game B (%ld handlers): median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n",
              lateCount, lateMedian / 1000, lateP99 / 1000, lateMax / 1000);
  std::printf("peak memory: start-up game %ld KiB, bare %ld KiB; after a minute game %ld KiB, bare %ld KiB\n",
              gamePeak, barePeak, played.maxRssKb, ticked.maxRssKb);
  std::printf("CPU over 60 s of the clock view (mean of %d): %.1f ms with game controllers (none connected), %.1f ms"
              " without; peak memory %ld KiB and %ld KiB\n",
              kClockPairs, clockPadsCpu, clockBareCpu, clockPadsPeak, clockBarePeak);
  std::printf("CPU over 60 s of the clock view with a sound output chosen: %.1f ms; bare 120 ms timer %.0f ms\n",
              clockSoundCpu, tickAgainCpu);
  std::puts("ratios:");
  verdict("start-up, game / bare", gs / bs, 1.5, "x");
  verdict("start-up dialog, game / bare dialog", ss / bd, 1.5, "x");
  verdict("key press to repaint, median", latMedian / 1000, 2.0, "ms");
  verdict("CPU during Game B with sound, game / bare timer", playCpu / std::max(tickCpu, 1.0), 2.6, "x");
  verdict("CPU during Game B, no sound, game / bare timer", silentCpu / std::max(tickCpu, 1.0), 1.5, "x");
  verdict("CPU of the clock view with sound, game / bare timer", clockSoundCpu / std::max(tickAgainCpu, 1.0), 1.5,
          "x");
  verdict("timer lateness in Game B, 99th percentile", lateP99 / 1000, 5.0, "ms");
  verdict("peak memory at start-up, game / bare", static_cast<double>(gamePeak) / static_cast<double>(barePeak),
          1.5, "x");
  verdict("peak memory over the minute, game / bare",
          static_cast<double>(played.maxRssKb) / static_cast<double>(ticked.maxRssKb), 1.5, "x");
  verdict("CPU of the clock view, with / without game controllers", clockPadsCpu / std::max(clockBareCpu, 1.0),
          1.05, "x");
  return 0;
}
