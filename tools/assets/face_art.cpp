// The handheld's face: a brushed-metal body with a printed green frame, the
// LCD window with its printed marsh, the buttons, and the glass over the LCD.

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

#include "tools/assets/lcd_layout.h"
#include "tools/assets/skin.h"

namespace mk::assets {
namespace {

const QColor kFrameGreen(40, 86, 66);
const QColor kFrameGreenDark(26, 58, 45);
const QColor kGold(214, 176, 86);
const QColor kCream(238, 226, 190);
const QColor kPrintDark(38, 70, 56);  // printing on the metal
const QColor kLcdTop(206, 213, 190);
const QColor kLcdBottom(192, 201, 176);
const QColor kPrintedPad(176, 193, 152);
const QColor kPrintedReed(166, 182, 140);
const QColor kPrintedWater(178, 198, 190);
const QColor kPrintedWave(160, 184, 178);

const QPainterPath kBodyOutline = roundRect(0, 0, kFaceWidth, kFaceHeight, 26);
const QRect kFrame(126, 12, 359, 296);

struct RoundButton {
  QPointF centre;
  double cap;     // radius of the cap at rest
  double socket;  // radius of the dark hole the cap sits in
  double bezel;   // outer radius of the chrome ring
};
constexpr RoundButton kLeft{{64, 196}, 27, 30.5, 36};
constexpr RoundButton kRight{{547, 196}, 27, 30.5, 36};
constexpr RoundButton kAcl{{569, 62}, 3.6, 5.0, 7.5};

struct PillButton {
  QPointF centre;
  double width, height;
};
constexpr PillButton kTime{{533, 112}, 34, 11};
constexpr PillButton kAlarm{{64, 112}, 34, 11};
constexpr double kPillRim = 3.5;  // chrome around a pill

QRectF pillRect(const PillButton& b, double grow = 0) {
  return {b.centre.x() - b.width / 2 - grow, b.centre.y() - b.height / 2 - grow, b.width + 2 * grow, b.height + 2 * grow};
}

QPainterPath pill(const PillButton& b, double grow = 0, QPointF shift = {}) {
  QPainterPath p;
  const QRectF r = pillRect(b, grow).translated(shift);
  p.addRoundedRect(r, r.height() / 2, r.height() / 2);
  return p;
}

QPainterPath disc(QPointF c, double r) { return ellipse(c.x(), c.y(), r, r); }

// ------------------------------------------------------------ the metal

void paintBrushedMetal(QPainter& p, const QRectF& area, std::uint32_t seed) {
  QLinearGradient g(area.topLeft(), area.bottomLeft());
  g.setColorAt(0.0, QColor(226, 226, 220));
  g.setColorAt(0.45, QColor(205, 205, 198));
  g.setColorAt(1.0, QColor(178, 178, 171));
  p.fillRect(area, g);
  Noise noise(seed);
  for (int y = int(area.top()); y < int(area.bottom()); ++y) {
    // Long faint streaks: the grain of brushed aluminium.
    for (int k = 0; k < 3; ++k) {
      const double x = area.left() + noise.unit() * area.width();
      const double len = 40 + noise.unit() * 220;
      const bool light = noise.unit() < 0.5;
      p.fillRect(QRectF(x - len / 2, y, len, 1), light ? QColor(255, 255, 255, 20) : QColor(60, 60, 50, 14));
    }
  }
}

void paintBody(QPainter& p) {
  p.save();
  p.setClipPath(kBodyOutline);
  paintBrushedMetal(p, QRectF(0, 0, kFaceWidth, kFaceHeight), 0x5eed1u);
  // A soft sheen across the upper half.
  QLinearGradient sheen(0, 0, 0, kFaceHeight);
  sheen.setColorAt(0.0, QColor(255, 255, 255, 60));
  sheen.setColorAt(0.35, QColor(255, 255, 255, 0));
  sheen.setColorAt(0.8, QColor(0, 0, 0, 0));
  sheen.setColorAt(1.0, QColor(0, 0, 0, 40));
  p.fillRect(QRectF(0, 0, kFaceWidth, kFaceHeight), sheen);
  // Rolled edge: light along the top, dark along the bottom.
  QLinearGradient edge(0, 0, 0, kFaceHeight);
  edge.setColorAt(0.0, QColor(255, 255, 255, 200));
  edge.setColorAt(0.5, QColor(150, 150, 145, 120));
  edge.setColorAt(1.0, QColor(70, 70, 66, 220));
  p.setPen(QPen(QBrush(edge), 3.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(roundRect(2.5, 2.5, kFaceWidth - 5, kFaceHeight - 5, 23.5));
  p.setPen(QPen(QColor(74, 74, 70), 2.0));
  p.drawPath(roundRect(0.5, 0.5, kFaceWidth - 1, kFaceHeight - 1, 25.5));
  p.restore();
}

// --------------------------------------------------------- the printing

void paintFrame(QPainter& p) {
  const QRectF frame(kFrame);
  p.setPen(Qt::NoPen);
  QLinearGradient g(frame.topLeft(), frame.bottomLeft());
  g.setColorAt(0, kFrameGreen.lighter(108));
  g.setColorAt(1, kFrameGreen.darker(112));
  p.setBrush(g);
  p.drawRoundedRect(frame, 12, 12);
  p.setPen(QPen(kGold, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(frame.adjusted(4, 4, -4, -4), 9, 9);
  // Title under the window.
  const QPainterPath text = textPathCentred("Marsh Keeper", Face::SerifBoldItalic, 22, frame.center().x(), 287);
  p.setPen(Qt::NoPen);
  p.fillPath(text.translated(0.8, 1.2), kFrameGreenDark.darker(140));
  p.fillPath(text, kCream);
  // Reeds flanking the title, in gold.
  for (int side : {-1, 1}) {
    const double x0 = frame.center().x() + side * 100;
    for (int k = 0; k < 3; ++k) {
      const double x = x0 + side * k * 6;
      const double h = 12 - k * 2.5;
      QPainterPath stem(QPointF(x, 296));
      stem.quadTo(QPointF(x + side * 1.5, 296 - h * 0.6), QPointF(x + side * 3, 296 - h));
      p.fillPath(stroke(stem, 1.2), kGold);
      p.fillPath(ellipse(x + side * 3.2, 296 - h - 2.6, 1.3, 3.2), kGold);
    }
  }
}

void paintSeriesBadge(QPainter& p) {
  const QRectF badge(18, 20, 92, 22);
  p.setPen(Qt::NoPen);
  p.setBrush(kFrameGreen);
  p.drawRoundedRect(badge, 4, 4);
  // Three speed stripes.
  for (int i = 0; i < 3; ++i) {
    p.fillPath(polygon({{badge.left() + 6 + i * 5.0, badge.bottom() - 4}, {badge.left() + 10 + i * 5.0, badge.top() + 4},
                        {badge.left() + 12.5 + i * 5.0, badge.top() + 4}, {badge.left() + 8.5 + i * 5.0, badge.bottom() - 4}}),
               i == 1 ? QColor(232, 120, 50) : kGold);
  }
  const QPainterPath word = textPath("SLIMLINE", Face::SansBoldOblique, 11, {badge.left() + 24, badge.top() + 15.2});
  p.fillPath(word, kCream);
  const QPainterPath tag = textPathCentred("LCD GAME  \u00b7  ALARM", Face::CondensedBold, 7.5, badge.center().x(), 52);
  p.fillPath(tag, kPrintDark);
}

void paintLabel(QPainter& p, const QString& text, double cx, double cy, double size, Face face = Face::SansBold,
                QColor colour = kPrintDark) {
  p.fillPath(textPathCentred(text, face, size, cx, cy), colour);
}

// ------------------------------------------------------------ the LCD

void paintLcd(QPainter& p) {
  const QRectF lcdArea(kLcdRect);
  // Recess around the window.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(18, 30, 24));
  p.drawRoundedRect(lcdArea.adjusted(-4, -4, 4, 4), 5, 5);
  p.setBrush(QColor(60, 74, 64));
  p.drawRoundedRect(lcdArea.adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);

  p.save();
  p.setClipRect(lcdArea);
  p.translate(lcdArea.topLeft());
  QLinearGradient bg(0, 0, 0, lcd::kHeight);
  bg.setColorAt(0, kLcdTop);
  bg.setColorAt(1, kLcdBottom);
  p.fillRect(QRectF(0, 0, lcd::kWidth, lcd::kHeight), bg);

  // The printed marsh, faint, under the crystal.
  // Moon and a dragonfly in the sky.
  p.fillPath(disc({20, 16}, 8.5).subtracted(disc({24, 13}, 7.5)), QColor(214, 214, 168));
  {
    const QPointF d(308, 14);
    QPainterPath fly = line({d + QPointF(-7, 1), d + QPointF(6, -1)}, 1.6);
    fly = fly.united(ellipse(d.x() - 1, d.y() - 3.0, 3.2, 1.8)).united(ellipse(d.x() + 2.5, d.y() - 2.6, 3.0, 1.6));
    fly = fly.united(ellipse(d.x() - 1, d.y() + 2.6, 3.0, 1.6)).united(ellipse(d.x() + 2.5, d.y() + 2.4, 2.8, 1.4));
    p.fillPath(fly, QColor(172, 190, 170));
  }
  // Lily pads under every place a frog sits or lands.
  for (const lcd::FrogSpot& s : lcd::kFrogSpots) {
    const QPointF c = s.centre + QPointF(0, 7.5);
    QPainterPath pad = ellipse(c.x(), c.y(), 11.5, 3.3);
    pad = pad.subtracted(polygon({c, c + QPointF(6, -4), c + QPointF(9, -4)}));
    p.fillPath(pad, kPrintedPad);
  }
  // Water along the bottom of the playfield.
  const double waterTop = lcd::kGround - 13;
  QLinearGradient water(0, waterTop, 0, lcd::kGround + 4);
  water.setColorAt(0, QColor(kPrintedWater.red(), kPrintedWater.green(), kPrintedWater.blue(), 0));
  water.setColorAt(0.35, kPrintedWater);
  water.setColorAt(1, kPrintedWater);
  p.fillRect(QRectF(0, waterTop, lcd::kWidth, lcd::kGround + 4 - waterTop), water);
  Noise waves(77);
  for (int row = 0; row < 3; ++row) {
    const double y = waterTop + 5 + row * 4.5;
    for (double x = 4 + row * 9; x < lcd::kWidth - 8; x += 20 + waves.unit() * 16) {
      QPainterPath w(QPointF(x, y));
      w.quadTo(QPointF(x + 3.5, y - 1.6), QPointF(x + 7, y));
      p.fillPath(stroke(w, 0.9), kPrintedWave);
    }
  }
  // Reeds at the edges and between the lanes.
  auto reeds = [&](double x, double base, double height, int count, int dir) {
    for (int k = 0; k < count; ++k) {
      const double xs = x + k * 3.2 * dir;
      const double h = height * (1.0 - 0.18 * k);
      QPainterPath stem(QPointF(xs, base));
      stem.quadTo(QPointF(xs + dir * 1.5, base - h * 0.6), QPointF(xs + dir * (2.0 + k), base - h));
      p.fillPath(stroke(stem, 1.3), kPrintedReed);
      if (k % 2 == 0) p.fillPath(ellipse(xs + dir * (2.0 + k), base - h - 3.6, 1.6, 4.2), kPrintedReed.darker(106));
    }
  };
  // A tuft where each lane's snake hides.
  for (double x : lcd::kLaneX) {
    reeds(x + 30, lcd::kGround - 2, 20, 2, 1);
    reeds(x + 58, lcd::kGround - 2, 17, 2, -1);
  }
  reeds(4, lcd::kGround + 3, 46, 3, 1);
  reeds(lcd::kWidth - 4, lcd::kGround + 3, 42, 3, -1);
  reeds(4, 68, 22, 2, 1);
  reeds(lcd::kWidth - 4, 84, 24, 2, -1);
  // The bank, and the panel below it.
  p.fillRect(QRectF(0, lcd::kGround + 3, lcd::kWidth, 2.2), QColor(168, 180, 142));
  p.fillRect(QRectF(0, lcd::kPanelTop, lcd::kWidth, lcd::kHeight - lcd::kPanelTop), QColor(197, 204, 182));
  p.setPen(QPen(QColor(172, 182, 158), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(102.5, lcd::kPanelTop + 2.5, 114, 28.5), 3, 3);
  p.setPen(Qt::NoPen);
  p.fillPath(textPath("MISS", Face::CondensedBold, 6.5, {222, 224.5}), QColor(164, 176, 150));
  p.restore();
}

// -------------------------------------------------------- the buttons

void paintChromeRing(QPainter& p, QPointF c, double inner, double outer) {
  QLinearGradient g(c - QPointF(0, outer), c + QPointF(0, outer));
  g.setColorAt(0, QColor(250, 250, 246));
  g.setColorAt(0.5, QColor(170, 170, 164));
  g.setColorAt(1, QColor(96, 96, 92));
  p.fillPath(disc(c, outer).subtracted(disc(c, inner)), g);
  p.setPen(QPen(QColor(70, 70, 66, 160), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawPath(disc(c, outer - 0.4));
  p.setPen(Qt::NoPen);
}

void paintSocket(QPainter& p, QPointF c, double r) {
  QRadialGradient g(c + QPointF(0, -r * 0.3), r * 1.2);
  g.setColorAt(0, QColor(30, 28, 26));
  g.setColorAt(1, QColor(58, 54, 50));
  p.fillPath(disc(c, r), g);
}

// The amber cap; pressed, it sits lower, smaller and in shade.
void paintCap(QPainter& p, QPointF c, double r, bool pressed) {
  if (!pressed) p.fillPath(disc(c + QPointF(0, 2.2), r + 0.5), QColor(0, 0, 0, 90));  // its shadow in the hole
  const QPointF at = c + QPointF(0, pressed ? 1.8 : 0);
  const double radius = pressed ? r - 0.8 : r;
  QRadialGradient g(at + QPointF(-radius * 0.35, -radius * 0.45), radius * 1.5);
  if (pressed) {
    g.setColorAt(0, QColor(214, 104, 44));
    g.setColorAt(0.6, QColor(176, 72, 26));
    g.setColorAt(1, QColor(120, 44, 14));
  } else {
    g.setColorAt(0, QColor(255, 178, 110));
    g.setColorAt(0.45, QColor(236, 112, 44));
    g.setColorAt(1, QColor(170, 64, 22));
  }
  p.fillPath(disc(at, radius), g);
  // A dished top: a faint ring of light.
  p.setPen(QPen(pressed ? QColor(255, 200, 150, 40) : QColor(255, 220, 180, 110), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(disc(at + QPointF(0, 0.5), radius * 0.72));
  p.setPen(Qt::NoPen);
  if (pressed) p.fillPath(disc(at, radius).subtracted(disc(at + QPointF(0, 1.8), radius)), QColor(0, 0, 0, 70));
}

void paintRoundButtonAtRest(QPainter& p, const RoundButton& b) {
  paintChromeRing(p, b.centre, b.socket, b.bezel);
  paintSocket(p, b.centre, b.socket);
  paintCap(p, b.centre, b.cap, false);
}

void paintPillCap(QPainter& p, const PillButton& b, bool pressed) {
  const QPointF shift(0, pressed ? 1.0 : 0);
  if (!pressed) p.fillPath(pill(b, 0.4, {0, 1.6}), QColor(0, 0, 0, 110));
  QLinearGradient g(pillRect(b).topLeft() + shift, pillRect(b).bottomLeft() + shift);
  if (pressed) {
    g.setColorAt(0, QColor(30, 30, 32));
    g.setColorAt(1, QColor(54, 54, 58));
  } else {
    g.setColorAt(0, QColor(92, 92, 98));
    g.setColorAt(0.5, QColor(52, 52, 56));
    g.setColorAt(1, QColor(30, 30, 32));
  }
  p.fillPath(pill(b, pressed ? -0.5 : 0, shift), g);
  if (!pressed) {
    p.setPen(QPen(QColor(255, 255, 255, 60), 0.8));
    p.setBrush(Qt::NoBrush);
    const QRectF r = pillRect(b).adjusted(3, 1.2, -3, -b.height * 0.55);
    p.drawLine(QPointF(r.left(), r.top()), QPointF(r.right(), r.top()));
    p.setPen(Qt::NoPen);
  }
}

void paintPillRim(QPainter& p, const PillButton& b) {
  QLinearGradient g(pillRect(b, kPillRim).topLeft(), pillRect(b, kPillRim).bottomLeft());
  g.setColorAt(0, QColor(120, 120, 114));
  g.setColorAt(0.5, QColor(200, 200, 194));
  g.setColorAt(1, QColor(250, 250, 246));
  p.fillPath(pill(b, kPillRim).subtracted(pill(b, 1.0)), g);
  p.fillPath(pill(b, 1.0).subtracted(pill(b, 0)), QColor(28, 26, 24));
}

void paintPillAtRest(QPainter& p, const PillButton& b) {
  paintPillRim(p, b);
  p.fillPath(pill(b, 0), QColor(24, 22, 20));
  paintPillCap(p, b, false);
}

void paintAclAtRest(QPainter& p) {
  paintChromeRing(p, kAcl.centre, kAcl.socket, kAcl.bezel);
  paintSocket(p, kAcl.centre, kAcl.socket);
  QRadialGradient g(kAcl.centre + QPointF(-1, -1.2), kAcl.cap * 1.6);
  g.setColorAt(0, QColor(110, 110, 116));
  g.setColorAt(1, QColor(36, 36, 40));
  p.fillPath(disc(kAcl.centre, kAcl.cap), g);
}

// A picture cut out of a painting of the whole face.
template <typename Paint>
QImage paintAt(const QRect& box, Paint paint) {
  QImage image = blank(box.width(), box.height());
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(-box.topLeft());
  paint(p);
  return image;
}

QRect boxAround(QPointF c, double r) {
  const int left = int(std::floor(c.x() - r)), top = int(std::floor(c.y() - r));
  const int right = int(std::ceil(c.x() + r)), bottom = int(std::ceil(c.y() + r));
  return {left, top, right - left, bottom - top};
}

QRect boxAround(const QRectF& r) {
  const int left = int(std::floor(r.left())), top = int(std::floor(r.top()));
  return {left, top, int(std::ceil(r.right())) - left, int(std::ceil(r.bottom())) - top};
}

void addRoundButton(Skin& skin, const QString& name, const RoundButton& b) {
  // Clickable picture: the chrome ring only. The cap inside it is the face's
  // (at rest) or the pressed picture's, seen through the ring's hole.
  const QRect topBox = boxAround(b.centre, b.bezel);
  skin.pictures["btn_" + name + "_top"] = {"btn_" + name + "_top.png",
                                        paintAt(topBox, [&](QPainter& p) { paintChromeRing(p, b.centre, b.socket, b.bezel); }),
                                        topBox};
  const QRect downBox = boxAround(b.centre, b.socket);
  skin.pictures["btn_" + name + "_down"] = {"btn_" + name + "_down.png", paintAt(downBox, [&](QPainter& p) {
                                           paintSocket(p, b.centre, b.socket);
                                           if (&b == &kAcl) {
                                             QRadialGradient g(b.centre + QPointF(0, 0.8), b.cap * 1.4);
                                             g.setColorAt(0, QColor(60, 60, 64));
                                             g.setColorAt(1, QColor(20, 20, 24));
                                             p.fillPath(disc(b.centre + QPointF(0, 0.8), b.cap - 0.5), g);
                                           } else {
                                             paintCap(p, b.centre, b.cap, true);
                                           }
                                         }),
                                         downBox};
}

}  // namespace

void addFaceAndButtons(Skin& skin) {
  skin.faceSize = QSize(kFaceWidth, kFaceHeight);
  skin.lcd = kLcdRect;

  QImage face = blank(kFaceWidth, kFaceHeight);
  {
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    paintBody(p);
    paintFrame(p);
    paintSeriesBadge(p);
    paintLcd(p);
    paintRoundButtonAtRest(p, kLeft);
    paintRoundButtonAtRest(p, kRight);
    paintPillAtRest(p, kTime);
    paintPillAtRest(p, kAlarm);
    paintAclAtRest(p);
    paintLabel(p, "LEFT", kLeft.centre.x(), 248, 10);
    paintLabel(p, "GAME A", kLeft.centre.x(), 261, 7.5, Face::CondensedBold, QColor(200, 90, 36));
    paintLabel(p, "RIGHT", kRight.centre.x(), 248, 10);
    paintLabel(p, "GAME B", kRight.centre.x(), 261, 7.5, Face::CondensedBold, QColor(200, 90, 36));
    paintLabel(p, "ALARM", kAlarm.centre.x(), 97, 8);
    paintLabel(p, "TIME", kTime.centre.x(), 97, 8);
    paintLabel(p, "ACL", kAcl.centre.x() - 18, kAcl.centre.y(), 7.5);
    paintLabel(p, "MODEL MK-50", 533, 32, 7, Face::Condensed);
  }
  applyHardMask(face, kBodyOutline);
  skin.pictures["im_background"] = {"im_background.png", face, QRect(0, 0, kFaceWidth, kFaceHeight)};

  // The glass: a shade where the window's edge overhangs the crystal and a
  // faint reflection; clear everywhere else, so every segment stays sharp.
  QImage glass = blank(kLcdRect.width(), kLcdRect.height());
  {
    QPainter p(&glass);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = kLcdRect.width(), h = kLcdRect.height();
    QLinearGradient top(0, 0, 0, 8);
    top.setColorAt(0, QColor(10, 20, 16, 110));
    top.setColorAt(1, QColor(10, 20, 16, 0));
    p.fillRect(QRectF(0, 0, w, 8), top);
    QLinearGradient left(0, 0, 6, 0);
    left.setColorAt(0, QColor(10, 20, 16, 80));
    left.setColorAt(1, QColor(10, 20, 16, 0));
    p.fillRect(QRectF(0, 0, 6, h), left);
    QLinearGradient right(w - 3, 0, w, 0);
    right.setColorAt(0, QColor(255, 255, 255, 0));
    right.setColorAt(1, QColor(255, 255, 255, 40));
    p.fillRect(QRectF(w - 3, 0, 3, h), right);
    QLinearGradient bottom(0, h - 3, 0, h);
    bottom.setColorAt(0, QColor(255, 255, 255, 0));
    bottom.setColorAt(1, QColor(255, 255, 255, 46));
    p.fillRect(QRectF(0, h - 3, w, 3), bottom);
    // Reflection: a broad soft band and a thin streak, across the upper left.
    QLinearGradient band(0, 0, w * 0.45, h * 0.6);
    band.setColorAt(0.0, QColor(255, 255, 255, 34));
    band.setColorAt(0.55, QColor(255, 255, 255, 10));
    band.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(polygon({{0, 0}, {w * 0.62, 0}, {0, h * 0.78}}), band);
    QLinearGradient streak(w * 0.66, 0, w * 0.74, h * 0.2);
    streak.setColorAt(0, QColor(255, 255, 255, 26));
    streak.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(polygon({{w * 0.68, 0}, {w * 0.73, 0}, {w * 0.45, h * 0.42}, {w * 0.42, h * 0.42}}), streak);
  }
  skin.pictures["im_background_screen_top"] = {"im_background_screen_top.png", glass, kLcdRect};

  addRoundButton(skin, "left", kLeft);
  addRoundButton(skin, "right", kRight);
  addRoundButton(skin, "acl", kAcl);

  const QRect timeBox = boxAround(pillRect(kTime, kPillRim));
  skin.pictures["btn_time_top"] = {"btn_time_top.png", paintAt(timeBox, [](QPainter& p) { paintPillRim(p, kTime); }), timeBox};
  const QRect timeDownBox = boxAround(pillRect(kTime, 1.0));
  skin.pictures["btn_time_down"] = {"btn_time_down.png", paintAt(timeDownBox, [](QPainter& p) {
                                   p.fillPath(pill(kTime, 1.0), QColor(20, 18, 16));
                                   paintPillCap(p, kTime, true);
                                 }),
                                 timeDownBox};
  const QRect alarmBox = boxAround(pillRect(kAlarm, kPillRim));
  skin.pictures["btn_alarm_top"] = {"btn_alarm_top.png", paintAt(alarmBox, [](QPainter& p) { paintPillAtRest(p, kAlarm); }),
                                 alarmBox};
}

}  // namespace mk::assets
