// The real program with measuring hooks, for the benchmarks only:
//   startup     stamps the end of the first paint of the handheld and quits;
//   splash      stamps the end of the first paint of the start-up dialog and
//               quits (start it with the splash on and no sound chosen);
//   latency N   N presses of TIME, each timed from the key event being posted
//               to the end of the repaint that shows it (each followed by an
//               untimed release);
//   play N      N seconds of Game B with a simple player (it wakes when the
//               display changes), then its CPU time, peak memory and how
//               late the timer handlers ran (median, 99th percentile and
//               maximum, in µs, and their number);
//   clock N     N seconds of the clock view left alone, from 5 s after the
//               start (when the start-up, the game controllers' included, is
//               over), then its CPU time, peak memory and whether the game
//               controllers were started; "clock N without-pads" runs the
//               program without them.
// Start it from the runnable tree with a sound choice stored and the splash off.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/program.h"
#include "bench/app/bench_clock.h"
#include "lcd/segment_tables.h"
#include "ui/splash_form.h"

using namespace mk;

namespace {

void postKey(QWidget* window, QEvent::Type type, Qt::Key key) {
  QCoreApplication::postEvent(window, new QKeyEvent(type, key, Qt::NoModifier));
}

void tap(QWidget* window, Qt::Key key) {
  postKey(window, QEvent::KeyPress, key);
  postKey(window, QEvent::KeyRelease, key);
}

void startup(app::TForm1& form) {
  form.canvas().setPaintedObserver([done = false]() mutable {
    if (done) return;
    done = true;
    std::printf("painted %lld\n", static_cast<long long>(bench::monotonicNs()));
    std::fflush(stdout);
    QCoreApplication::exit(0);
  });
}

// The start-up dialog is the program's own; it is told by its type once it
// has been painted (the stamp follows the paint in the event loop's next turn).
class SplashPainted final : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !done_ && qobject_cast<ui::TSplashForm*>(watched)) {
      done_ = true;
      QMetaObject::invokeMethod(
          qApp,
          [] {
            std::printf("painted %lld\n", static_cast<long long>(bench::monotonicNs()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  bool done_ = false;
};

struct LatencyRun {
  app::TForm1* form = nullptr;
  int remaining = 0;
  std::int64_t postedAt = 0;
  std::vector<double> samplesUs;

  void next() {
    if (remaining-- <= 0) {
      std::sort(samplesUs.begin(), samplesUs.end());
      const auto at = [&](double q) { return samplesUs[static_cast<std::size_t>(q * static_cast<double>(samplesUs.size() - 1))]; };
      std::printf("latency %.1f %.1f %.1f %zu\n", at(0.5), at(0.9), samplesUs.back(), samplesUs.size());
      std::fflush(stdout);
      QCoreApplication::exit(0);
      return;
    }
    postedAt = bench::monotonicNs();
    postKey(form, QEvent::KeyPress, Qt::Key_1);
  }
  void painted() {
    if (postedAt == 0) return;
    samplesUs.push_back(static_cast<double>(bench::monotonicNs() - postedAt) / 1000.0);
    postedAt = 0;
    // The release, then time for its repaint, before the next press.
    postKey(form, QEvent::KeyRelease, Qt::Key_1);
    QTimer::singleShot(60, [this] { next(); });
  }
};

// Walks the hero to the lane whose warning step is lit, and starts a new
// Game B whenever one has ended, so the minute is all play.
void playerTick(app::TForm1& form) {
  const auto& state = form.handheld().engine().state();
  if (state.GameMode == 3 || state.GameMode == 8) {
    tap(&form, Qt::Key_Right);
    return;
  }
  if (state.GameMode != 7 || !state.PlayLive) return;
  for (int lane = 1; lane <= 3; ++lane) {
    const auto warning = lcd::ItemSegments[static_cast<std::size_t>(lane)][static_cast<std::size_t>(lane + 1)];
    const bool enemy = form.model().isVisible(lcd::EnemySegments[static_cast<std::size_t>(lane)][1]);
    if ((warning && form.model().isVisible(*warning)) || enemy) {
      if (lane < state.HeroLane) tap(&form, Qt::Key_Left);
      if (lane > state.HeroLane) tap(&form, Qt::Key_Right);
      return;
    }
  }
}

// After `settleMs` for the start, `seconds` of whatever runs, then the CPU
// time and peak memory they took.
void measure(int settleMs, int seconds, std::function<void()> atStart, std::function<const char*()> note = {}) {
  static bench::Usage before;
  QTimer::singleShot(settleMs, [seconds, atStart = std::move(atStart), note = std::move(note)] {
    before = bench::selfUsage();
    if (atStart) atStart();
    QTimer::singleShot(seconds * 1000, [note] {
      const bench::Usage u = bench::selfUsage();
      std::printf("usage %.1f %ld %s\n", u.cpuMs - before.cpuMs, u.maxRssKb, note ? note() : "");
      std::fflush(stdout);
      QCoreApplication::exit(0);
    });
  });
}

// Lateness of every timer handler over the measured span, from the window
// clock itself: monotonic time at the handler against its due time.
struct Lateness {
  bool on = false;
  std::vector<double> samplesUs;
  std::string summary;

  const char* summarise() {
    std::sort(samplesUs.begin(), samplesUs.end());
    const auto at = [&](double q) {
      return samplesUs.empty() ? 0.0 : samplesUs[static_cast<std::size_t>(q * static_cast<double>(samplesUs.size() - 1))];
    };
    char text[96];
    std::snprintf(text, sizeof text, "%.0f %.0f %.0f %zu", at(0.5), at(0.99), samplesUs.empty() ? 0.0 : samplesUs.back(),
                  samplesUs.size());
    summary = text;
    return summary.c_str();
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  const char* mode = argc > 1 ? argv[1] : "startup";
  const int count = argc > 2 ? std::atoi(argv[2]) : 0;
  const bool withoutPads = argc > 3 && std::strcmp(argv[3], "without-pads") == 0;
  static LatencyRun latency;
  static Lateness lateness;
  static QTimer player;
  app::ShellEnvironment environment;
  if (withoutPads) environment.gameControllers = app::ShellEnvironment::GameControllers::Ignored;
  return app::runProgram(1, argv, [&](app::TForm1& form) {
    if (std::strcmp(mode, "latency") == 0) {
      latency.form = &form;
      latency.remaining = count;
      form.canvas().setPaintedObserver([] { latency.painted(); });
      QTimer::singleShot(300, [] { latency.next(); });
    } else if (std::strcmp(mode, "play") == 0) {
      // The player looks when the display has changed (after the repaint,
      // so it sees what the player would), and once a second in case a
      // game waits with nothing changing; it adds no wake-ups of its own.
      tap(&form, Qt::Key_1);
      static bool playing = false;
      form.canvas().setPaintedObserver([&form] {
        if (playing) QTimer::singleShot(0, &form, [&form] { playerTick(form); });
      });
      player.setInterval(1000);
      QObject::connect(&player, &QTimer::timeout, [&form] { playerTick(form); });
      form.handheld().clock().pacing().setLatenessObserver([](std::int64_t us) {
        if (lateness.on) lateness.samplesUs.push_back(static_cast<double>(us));
      });
      measure(200, count, [] {
        playing = true;
        lateness.on = true;
        player.start();
      }, [] { return lateness.summarise(); });
    } else if (std::strcmp(mode, "clock") == 0) {
      tap(&form, Qt::Key_1);
      measure(5000, count, {}, [&form] { return form.pads().gamepads().isStarted() ? "pads" : "no-pads"; });
    } else if (std::strcmp(mode, "splash") == 0) {
      static SplashPainted watch;
      qApp->installEventFilter(&watch);
    } else {
      startup(form);
    }
  }, std::move(environment));
}
