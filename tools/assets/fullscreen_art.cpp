// Full screen: the night marsh behind the handheld and the wordmark in the
// corner.

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

#include "tools/assets/generators.h"
#include "tools/assets/skin.h"

namespace mk::assets {
namespace {

// Drawn at half size and enlarged smoothly: soft, as a backdrop should be.
constexpr int kW = 960, kH = 540;

QPainterPath treeLine(double base, double height, std::uint32_t seed) {
  Noise n(seed);
  QPainterPath p(QPointF(0, kH));
  p.lineTo(0, base);
  for (double x = 0; x <= kW; x += 6) {
    const double crown = std::sin(x / 37.0 + seed) * 0.35 + std::sin(x / 11.0) * 0.15 + n.unit() * 0.5;
    p.lineTo(x, base - height * (0.55 + crown * 0.6));
  }
  p.lineTo(kW, kH);
  p.closeSubpath();
  return p;
}

void reedClump(QPainter& p, double x, double base, double height, int count, QColor colour, Noise& n) {
  for (int k = 0; k < count; ++k) {
    const double xs = x + (n.unit() - 0.5) * 30;
    const double h = height * (0.6 + n.unit() * 0.5);
    const double lean = (n.unit() - 0.5) * 24;
    QPainterPath stem(QPointF(xs, base));
    stem.quadTo(QPointF(xs + lean * 0.3, base - h * 0.6), QPointF(xs + lean, base - h));
    p.fillPath(stroke(stem, 1.6 + n.unit() * 1.2), colour);
    if (n.unit() < 0.45) {
      const QPointF top(xs + lean * 0.96, base - h * 0.98);
      p.fillPath(rotated(ellipse(top.x(), top.y() + 8, 2.6, 9), lean * 0.8, top), colour);
    }
  }
}

QImage backdrop() {
  QImage img = blank(kW, kH, Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const double horizon = kH * 0.56;
  QLinearGradient sky(0, 0, 0, horizon);
  sky.setColorAt(0, QColor(8, 14, 30));
  sky.setColorAt(0.6, QColor(18, 34, 52));
  sky.setColorAt(1, QColor(38, 58, 66));
  p.fillRect(QRectF(0, 0, kW, horizon), sky);
  Noise stars(2024);
  for (int i = 0; i < 160; ++i) {
    const double x = stars.unit() * kW, y = stars.unit() * horizon * 0.8;
    const int a = 40 + int(stars.unit() * 120);
    p.fillPath(ellipse(x, y, 0.6 + stars.unit() * 0.6, 0.6 + stars.unit() * 0.6), QColor(220, 230, 240, a));
  }
  const QPointF moon(kW * 0.80, kH * 0.17);
  QRadialGradient glow(moon, 120);
  glow.setColorAt(0, QColor(220, 226, 200, 90));
  glow.setColorAt(1, QColor(220, 226, 200, 0));
  p.fillRect(QRectF(0, 0, kW, horizon), glow);
  p.fillPath(ellipse(moon.x(), moon.y(), 22, 22), QColor(232, 234, 212));
  p.fillPath(ellipse(moon.x() - 6, moon.y() - 4, 5, 4), QColor(214, 216, 196));
  p.fillPath(ellipse(moon.x() + 7, moon.y() + 6, 3.5, 3), QColor(214, 216, 196));
  // Far trees, then nearer ones, darker.
  p.fillPath(treeLine(horizon, 46, 3), QColor(24, 40, 44));
  p.fillPath(treeLine(horizon + 6, 28, 7), QColor(16, 28, 30));
  // Still water with the moon's path.
  QLinearGradient water(0, horizon, 0, kH);
  water.setColorAt(0, QColor(28, 44, 52));
  water.setColorAt(1, QColor(8, 14, 18));
  p.fillRect(QRectF(0, horizon + 6, kW, kH - horizon), water);
  Noise ripple(99);
  for (int i = 0; i < 70; ++i) {
    const double y = horizon + 10 + ripple.unit() * (kH - horizon - 10);
    const double spread = 10 + (y - horizon) * 0.35;
    const double x = moon.x() + (ripple.unit() - 0.5) * spread * 2;
    const double len = 6 + ripple.unit() * 26;
    p.fillRect(QRectF(x - len / 2, y, len, 1.2), QColor(200, 210, 190, 30 + int(ripple.unit() * 50)));
  }
  // Lily pads drifting.
  Noise pads(5);
  for (int i = 0; i < 26; ++i) {
    const double y = horizon + 30 + pads.unit() * (kH - horizon - 60);
    const double x = pads.unit() * kW;
    const double scale = 0.4 + (y - horizon) / (kH - horizon);
    QPainterPath pad = ellipse(x, y, 16 * scale, 4.5 * scale);
    pad = pad.subtracted(polygon({{x, y}, {x + 12 * scale, y - 6 * scale}, {x + 16 * scale, y - 3 * scale}}));
    p.fillPath(pad, QColor(30, 58, 40, 200));
  }
  // Reeds in the foreground, left and right, away from the middle.
  Noise reeds(11);
  for (double x : {30.0, 90.0, 150.0, 200.0}) reedClump(p, x, kH + 4, 190 - x * 0.4, 9, QColor(6, 12, 10), reeds);
  for (double x : {760.0, 820.0, 880.0, 935.0}) reedClump(p, x, kH + 4, 120 + (x - 760) * 0.4, 9, QColor(6, 12, 10), reeds);
  // Fireflies.
  Noise flies(31);
  for (int i = 0; i < 30; ++i) {
    const double x = flies.unit() * kW, y = horizon - 60 + flies.unit() * 200;
    QRadialGradient f(QPointF(x, y), 5);
    f.setColorAt(0, QColor(230, 240, 140, 180));
    f.setColorAt(1, QColor(230, 240, 140, 0));
    p.fillRect(QRectF(x - 5, y - 5, 10, 10), f);
  }
  // A gentle dark vignette keeps the eye on the handheld.
  QRadialGradient vignette(QPointF(kW / 2.0, kH / 2.0), kW * 0.62);
  vignette.setColorAt(0.45, QColor(0, 0, 0, 0));
  vignette.setColorAt(1, QColor(0, 0, 0, 150));
  p.fillRect(QRectF(0, 0, kW, kH), vignette);
  p.end();
  return img.scaled(1920, 1080, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage logo() {
  QImage img = blank(200, 60);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QPainterPath word = textPathCentred("Marsh Keeper", Face::SerifBoldItalic, 24, 100, 22);
  p.fillPath(word.translated(1.2, 1.6), QColor(0, 0, 0, 140));
  p.fillPath(word, QColor(238, 226, 190));
  p.fillPath(textPathCentred("SLIMLINE  \u00b7  LCD GAME", Face::CondensedBold, 9.5, 112, 49), QColor(214, 176, 86));
  p.fillRect(QRectF(40, 39.5, 150, 1.2), QColor(214, 176, 86, 160));
  const QPainterPath frog = frogFigure(false);
  QTransform t;
  t.translate(22, 46);
  t.scale(-0.8, 0.8);
  p.fillPath(t.map(frog), QColor(150, 196, 120));
  return img;
}

}  // namespace

void writeFullscreenArt(const Paths& paths) {
  saveJpeg(backdrop(), paths.data + "/Graphics/Backdrops/marsh_night.jpg", 88);
  savePng(logo(), paths.data + "/Graphics/Backdrops/logo.png");
}

}  // namespace mk::assets
