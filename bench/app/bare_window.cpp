// The yardstick: the least a Qt program does to show a frameless window of
// the handheld's size. "startup" quits after its first paint; "timer N" runs
// a 120 ms timer for N seconds, repainting a small square on each tick;
// "dialog" shows a plain dialog of the start-up dialog's size with one line
// of text and quits after its first paint.
#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>

#include "bench/app/bench_clock.h"

namespace {

class BareWindow final : public QWidget {
 public:
  explicit BareWindow(bool quitAfterFirstPaint)
      : QWidget(nullptr, Qt::FramelessWindowHint), quitAfterFirstPaint_(quitAfterFirstPaint) {
    resize(611, 322);
  }
  void tick() {
    lit_ = !lit_;
    update(20, 20, 20, 20);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.fillRect(20, 20, 20, 20, lit_ ? Qt::black : Qt::gray);
    p.end();
    if (quitAfterFirstPaint_ && !painted_) {
      painted_ = true;
      std::printf("painted %lld\n", static_cast<long long>(mk::bench::monotonicNs()));
      std::fflush(stdout);
      QCoreApplication::exit(0);
    }
  }

 private:
  bool quitAfterFirstPaint_;
  bool painted_ = false;
  bool lit_ = false;
};

// A dialog as plain as Qt makes one, of the start-up dialog's size; the
// line of text makes it load the desktop's fonts, as any dialog does.
class BareDialog final : public QDialog {
 public:
  BareDialog() { setFixedSize(460, 420); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawText(20, 40, QStringLiteral("Play"));
    p.end();
    if (!painted_) {
      painted_ = true;
      std::printf("painted %lld\n", static_cast<long long>(mk::bench::monotonicNs()));
      std::fflush(stdout);
      QCoreApplication::exit(0);
    }
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  const bool timer = argc > 1 && std::strcmp(argv[1], "timer") == 0;
  const int seconds = timer && argc > 2 ? std::atoi(argv[2]) : 0;
  QApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "dialog") == 0) {
    BareDialog dialog;
    dialog.show();
    return QApplication::exec();
  }
  BareWindow window(!timer);
  window.show();
  QTimer ticks;
  if (timer) {
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, &window, &BareWindow::tick);
    static mk::bench::Usage atStart;
    QTimer::singleShot(200, &app, [&ticks, seconds] {
      atStart = mk::bench::selfUsage();
      ticks.start(120);
      QTimer::singleShot(seconds * 1000, [] {
        const mk::bench::Usage u = mk::bench::selfUsage();
        std::printf("usage %.1f %ld\n", u.cpuMs - atStart.cpuMs, u.maxRssKb);
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    });
  }
  return QApplication::exec();
}
