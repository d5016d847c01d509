// The LCD segments: every figure of the playfield and the status panel,
// drawn as flat dark shapes the way a liquid-crystal electrode looks, each
// in its own picture with a see-through surrounding.

#include <QPainter>
#include <QTransform>
#include <cmath>
#include <functional>

#include "tools/assets/lcd_layout.h"
#include "tools/assets/skin.h"

namespace mk::assets {
namespace {

using lcd::Pose;

// Lit liquid crystal: near-black with a cold tint, and the faint shadow it
// casts on the reflector behind it.
const QColor kInk(30, 34, 42);
const QColor kInkShadow(24, 40, 36, 46);
const QPointF kShadowOffset(1.3, 1.6);

// A figure: what is inked, minus the thin clear lines that give it detail.
struct Figure {
  QPainterPath ink;
  QPainterPath cuts;
  void add(const QPainterPath& p) { ink = ink.united(p); }
  void cut(const QPainterPath& p) { cuts = cuts.united(p); }
  QPainterPath shape() const { return ink.subtracted(cuts).simplified(); }
};

QPainterPath transformed(const QPainterPath& p, QPointF at, bool mirror, double scale = 1.0) {
  QTransform t;
  t.translate(at.x(), at.y());
  t.scale(mirror ? -scale : scale, scale);
  return t.map(p);
}

// ---------------------------------------------------------------- the frog
// Drawn facing right around its own centre; mirrored for the left.

QPainterPath frogShape(Pose pose) {
  Figure f;
  if (pose == Pose::Sitting) {
    f.add(rotated(ellipse(-2, 0.8, 7.4, 5.0), -16, {-2, 0.8}));       // back
    f.add(ellipse(4.6, -2.0, 4.9, 3.8));                               // head
    f.add(ellipse(3.9, -5.4, 2.6, 2.4));                               // eye bump
    f.add(rotated(ellipse(-4.0, 3.7, 5.3, 3.1), -8, {-4, 3.7}));       // thigh
    f.add(polygon({{-2.5, 5.6}, {6.2, 6.0}, {6.6, 7.6}, {-4.5, 7.6}}));  // long foot
    f.add(line({{5.8, 1.2}, {7.0, 6.0}}, 2.0));                        // front leg
    f.add(line({{6.2, 6.9}, {9.4, 7.0}}, 1.5));                        // front foot
    f.cut(ellipse(4.5, -5.7, 1.0, 1.0));                               // pupil
    f.cut(line({{5.6, -0.3}, {9.6, -1.3}}, 0.9, Qt::FlatCap));         // mouth
    f.cut(stroke(ellipse(-4.0, 3.7, 6.0, 3.8), 1.0).intersected(roundRect(-12, 0.2, 13.5, 4.2, 0)));
  } else {
    f.add(rotated(ellipse(-0.5, 0, 8.0, 4.0), -20, {-0.5, 0}));        // stretched body
    f.add(rotated(ellipse(6.6, -3.4, 4.4, 3.3), -20, {6.6, -3.4}));    // head
    f.add(ellipse(5.6, -6.6, 2.3, 2.1));                               // eye bump
    f.add(line({{-5.0, 2.2}, {-11.0, 5.6}}, 3.2));                     // thigh, stretched back
    f.add(line({{-11.0, 5.6}, {-16.0, 6.6}}, 1.9));                    // shin and foot
    f.add(line({{-8.6, 0.4}, {-13.6, 1.8}}, 2.2));                     // far leg
    f.add(line({{5.0, 2.0}, {9.2, 5.2}}, 1.8));                        // front legs reaching
    f.add(line({{3.0, 2.6}, {6.0, 6.2}}, 1.6));
    f.cut(ellipse(6.1, -6.9, 0.95, 0.95));
    f.cut(line({{7.5, -1.6}, {11.0, -3.4}}, 0.9, Qt::FlatCap));
  }
  return f.shape();
}

QPainterPath frog(QPointF centre, bool facingLeft, Pose pose, double scale = 1.0) {
  return transformed(frogShape(pose), centre, facingLeft, scale);
}

// -------------------------------------------------------------- the keeper
// Local coordinates: x from the lane's centre, y up from the boots (negative).

QPainterPath keeperBody() {
  Figure f;
  f.add(roundRect(-7.2, -71.5, 14.4, 11.5, 3.4));                      // hat crown
  f.add(ellipse(0, -60, 15.5, 2.7));                                   // brim
  f.add(ellipse(0.6, -51, 7.0, 7.2));                                  // head
  f.add(ellipse(7.0, -50.0, 2.4, 2.1));                                // nose
  f.add(polygon({{-10.5, -43}, {10.5, -43}, {12.5, -28}, {14.5, -16}, {-14.5, -16}, {-12.5, -28}}));  // coat
  f.add(ellipse(-10.5, -40.5, 3.2, 3.2));                              // shoulders
  f.add(ellipse(10.5, -40.5, 3.2, 3.2));
  f.add(line({{-11.5, -40}, {-16, -36}, {-19.2, -32.5}}, 5.0));        // arm to the net
  f.add(ellipse(-19.6, -32.0, 2.6, 2.6));                              // hand
  f.add(line({{11.5, -40}, {14.5, -35.5}, {15.6, -31.5}}, 5.0));       // arm, hand on hip
  f.add(ellipse(15.8, -30.2, 2.5, 2.5));
  f.cut(line({{-16, -57.0}, {16, -57.0}}, 1.1, Qt::FlatCap));          // brim shadow line
  f.cut(line({{-8, -64.2}, {8, -64.2}}, 1.1, Qt::FlatCap));            // hat band
  f.cut(ellipse(3.4, -52.6, 1.1, 1.1));                                // eye
  f.cut(line({{-4.2, -43.6}, {0, -37.5}, {4.2, -43.6}}, 1.1, Qt::FlatCap));  // collar
  f.cut(line({{-13, -29.2}, {13, -29.2}}, 1.1, Qt::FlatCap));          // belt
  f.cut(line({{0, -28.6}, {0, -15}}, 1.1, Qt::FlatCap));               // coat opening
  f.cut(line({{-8.6, -42}, {-10.6, -30}}, 1.0, Qt::FlatCap));          // sleeve seams
  f.cut(line({{8.6, -42}, {10.6, -30}}, 1.0, Qt::FlatCap));
  return f.shape();
}

// Boots together under the coat.
QPainterPath keeperLegsTogether() {
  Figure f;
  f.add(polygon({{-8.6, -14.6}, {-2.6, -14.6}, {-2.8, -4.8}, {-8.2, -4.8}}));
  f.add(roundRect(-11.2, -5.4, 8.6, 5.4, 2.0));
  f.add(polygon({{2.6, -14.6}, {8.6, -14.6}, {8.2, -4.8}, {2.8, -4.8}}));
  f.add(roundRect(2.6, -5.4, 8.6, 5.4, 2.0));
  f.cut(line({{-9, -9.5}, {-2, -9.5}}, 0.9, Qt::FlatCap));  // wader knee folds
  f.cut(line({{2, -9.5}, {9, -9.5}}, 0.9, Qt::FlatCap));
  return f.shape();
}

// Boots apart, wading: clear of the other picture by two pixels everywhere.
QPainterPath keeperLegsApart() {
  Figure f;
  f.add(polygon({{-14.2, -14.6}, {-10.8, -14.6}, {-14.2, -4.8}, {-18.4, -4.8}}));
  f.add(roundRect(-21.4, -5.4, 8.0, 5.4, 2.0));
  f.add(polygon({{10.8, -14.6}, {14.2, -14.6}, {18.4, -4.8}, {14.2, -4.8}}));
  f.add(roundRect(13.4, -5.4, 8.0, 5.4, 2.0));
  return f.shape();
}

// The landing net at rest, standing upright at the keeper's left.
constexpr double kRestPoleX = -25.6;
QPainterPath netAtRest() {
  Figure f;
  f.add(line({{kRestPoleX, -2.5}, {kRestPoleX, -66}}, 2.5, Qt::FlatCap));
  const QPointF hoop(kRestPoleX, -75.5);
  f.add(stroke(ellipse(hoop.x(), hoop.y(), 8.4, 9.4), 2.2));
  QPainterPath mesh;
  for (double d : {-4.2, 0.0, 4.2}) {
    mesh = mesh.united(line({{hoop.x() + d - 9, hoop.y() - 9}, {hoop.x() + d + 9, hoop.y() + 9}}, 0.9, Qt::FlatCap));
    mesh = mesh.united(line({{hoop.x() + d + 9, hoop.y() - 9}, {hoop.x() + d - 9, hoop.y() + 9}}, 0.9, Qt::FlatCap));
  }
  f.add(mesh.intersected(ellipse(hoop.x(), hoop.y(), 7.6, 8.6)));
  return f.shape();
}

// The net swung up to the right; the caught frog sits in its hoop.
const QPointF kRaisedHoop(30.5, -90.5);
const double kRaisedTilt = 18;
QPainterPath frogInNet() { return frog(kRaisedHoop + QPointF(0, 0.6), false, Pose::Sitting, 0.6); }

QPainterPath keeperAttack() {
  Figure f;
  f.add(line({{18.2, -35.5}, {26.2, -81.4}}, 2.5, Qt::FlatCap));
  const QPainterPath rim = rotated(ellipse(kRaisedHoop.x(), kRaisedHoop.y(), 9.8, 8.4), kRaisedTilt, kRaisedHoop);
  f.add(stroke(rim, 2.2));
  // The net's bag hangs from the back of the rim, clear of the frog inside it.
  QPainterPath bag(kRaisedHoop + QPointF(-8.6, 2.6));
  bag.cubicTo(kRaisedHoop + QPointF(-10.5, 10.5), kRaisedHoop + QPointF(-3.0, 15.0), kRaisedHoop + QPointF(-0.5, 13.5));
  bag.cubicTo(kRaisedHoop + QPointF(1.5, 12.0), kRaisedHoop + QPointF(1.0, 9.8), kRaisedHoop + QPointF(2.0, 8.6));
  f.add(stroke(bag, 1.3));
  f.add(line({kRaisedHoop + QPointF(-6.2, 7.6), kRaisedHoop + QPointF(-2.0, 13.8)}, 0.9, Qt::FlatCap));
  f.add(line({kRaisedHoop + QPointF(-8.4, 9.6), kRaisedHoop + QPointF(-3.6, 9.0)}, 0.9, Qt::FlatCap));
  return f.shape();
}

// --------------------------------------------------------------- the snake
// Rises out of the water at the keeper's right.

QPainterPath snakeCoil() {
  Figure f;
  // Two turns of the body lying in the water, the tail flicking up at the right.
  f.add(ellipse(44.5, -5.4, 12.4, 5.4));
  f.add(curve({55.0, -4.0}, {58.5, -2.5}, {60.5, -6.5}, {62.5, -11.5}, 2.6));
  f.add(line({{62.5, -11.5}, {63.6, -14.6}}, 1.5));
  f.add(line({{28.5, -0.2}, {36.0, -0.2}}, 1.1));   // ripples
  f.add(line({{50.5, 0.6}, {58.0, 0.6}}, 1.1));
  // The turns of the coil, seen a little from above.
  f.cut(stroke(ellipse(44.5, -5.6, 7.6, 2.6), 1.0));
  f.cut(stroke(ellipse(45.0, -5.8, 3.2, 0.9), 0.9));
  return f.shape();
}

QPainterPath snakeHead(QPointF at, double tilt, bool jawOpen) {
  Figure f;
  f.add(rotated(ellipse(at.x(), at.y(), 6.2, 3.9), tilt, at));
  f.add(rotated(ellipse(at.x() + 2.4, at.y() - 1.2, 3.6, 3.6), tilt, at));
  f.cut(rotated(ellipse(at.x() - 1.4, at.y() - 1.6, 1.0, 1.0), tilt, at));
  if (jawOpen) {
    f.cut(rotated(polygon({{at.x() - 7.5, at.y() - 0.2}, {at.x() - 0.5, at.y() + 0.8}, {at.x() - 7.5, at.y() + 3.4}}), tilt, at));
  } else {
    f.cut(rotated(line({{at.x() - 6.8, at.y() + 0.9}, {at.x() - 1.5, at.y() + 1.2}}, 0.9, Qt::FlatCap), tilt, at));
  }
  return f.shape();
}

QPainterPath snakeMiddle() {
  Figure f;
  f.add(curve({37.5, -12.6}, {35.5, -21}, {42, -25}, {40.5, -31}, 4.6));
  f.add(snakeHead({35.6, -35.0}, -8, false));
  return f.shape();
}

QPainterPath snakeHigh() {
  Figure f;
  f.add(curve({52.0, -12.8}, {59.5, -31}, {49.0, -45}, {45.2, -58.5}, 4.6));
  f.add(snakeHead({41.6, -63.2}, -20, true));
  f.add(line({{35.0, -64.2}, {31.6, -63.4}}, 0.9, Qt::FlatCap));  // forked tongue
  f.add(line({{31.8, -63.4}, {30.0, -65.0}}, 0.9, Qt::FlatCap));
  f.add(line({{31.8, -63.4}, {30.2, -61.6}}, 0.9, Qt::FlatCap));
  return f.shape();
}

// ---------------------------------------------------------------- the panel

// Seven-segment digits, slanted a little, all on one 16 x 26 canvas.
constexpr int kGlyphWidth = 16;
constexpr int kGlyphHeight = 26;
constexpr double kSlant = 0.085;

QPointF slant(double x, double y) { return {x + 1.6 + (12.8 - y) * kSlant, y}; }

QPainterPath hSegment(double xa, double xb, double y, double t) {
  return polygon({slant(xa, y), slant(xa + t / 2, y - t / 2), slant(xb - t / 2, y - t / 2), slant(xb, y),
                  slant(xb - t / 2, y + t / 2), slant(xa + t / 2, y + t / 2)});
}
QPainterPath vSegment(double x, double ya, double yb, double t) {
  return polygon({slant(x, ya), slant(x + t / 2, ya + t / 2), slant(x + t / 2, yb - t / 2), slant(x, yb),
                  slant(x - t / 2, yb - t / 2), slant(x - t / 2, ya + t / 2)});
}

QPainterPath digitShape(int digit) {
  constexpr double t = 3.0, g = 0.75;
  constexpr double l = 1.9, r = 11.9, top = 1.9, mid = 12.8, bottom = 23.7;
  const QPainterPath a = hSegment(l + g, r - g, top, t), gg = hSegment(l + g, r - g, mid, t),
                     d = hSegment(l + g, r - g, bottom, t);
  const QPainterPath f = vSegment(l, top + g, mid - g, t), b = vSegment(r, top + g, mid - g, t);
  const QPainterPath e = vSegment(l, mid + g, bottom - g, t), c = vSegment(r, mid + g, bottom - g, t);
  static const char* const kLit[10] = {"abcdef", "bc", "abged", "abgcd", "fgbc",
                                       "afgcd", "afgedc", "abc", "abcdefg", "abcdfg"};
  QPainterPath glyph;
  for (const char* s = kLit[digit]; *s; ++s) {
    switch (*s) {
      case 'a': glyph.addPath(a); break;
      case 'b': glyph.addPath(b); break;
      case 'c': glyph.addPath(c); break;
      case 'd': glyph.addPath(d); break;
      case 'e': glyph.addPath(e); break;
      case 'f': glyph.addPath(f); break;
      case 'g': glyph.addPath(gg); break;
    }
  }
  return glyph;
}

// Digit positions on the LCD (their boxes are the glyph's size).
constexpr std::array<double, 4> kDigitX{130, 148, 173, 191};
constexpr double kDigitY = 206;

QPainterPath colonShape() {
  QPainterPath p;
  const double x = 167.2;
  for (double y : {kDigitY + 8.0, kDigitY + 17.0}) {
    const QPointF c(x + (12.8 - (y - kDigitY)) * kSlant + 1.6, y);
    p.addPath(roundRect(c.x() - 1.6, c.y() - 1.6, 3.2, 3.2, 0.8));
  }
  return p;
}

QPainterPath markText(const QString& text, double x, double baseline, double size) {
  return textPath(text, Face::SansBold, size, {x, baseline}).simplified();
}

QPainterPath soundShape() {
  Figure f;
  const QPointF at(52, 206);
  f.add(rotated(ellipse(at.x() + 2.8, at.y() + 20.5, 2.9, 2.1), -22, at + QPointF(2.8, 20.5)));
  f.add(rotated(ellipse(at.x() + 10.8, at.y() + 18.0, 2.9, 2.1), -22, at + QPointF(10.8, 18.0)));
  f.add(line({at + QPointF(5.1, 20.0), at + QPointF(5.1, 5.0)}, 1.4, Qt::FlatCap));
  f.add(line({at + QPointF(13.1, 17.5), at + QPointF(13.1, 2.5)}, 1.4, Qt::FlatCap));
  f.add(polygon({at + QPointF(4.4, 4.6), at + QPointF(13.8, 2.0), at + QPointF(13.8, 5.2), at + QPointF(4.4, 7.8)}));
  // Two small waves of sound.
  QPainterPath w1(at + QPointF(17.5, 7.5));
  w1.quadTo(at + QPointF(19.8, 11.0), at + QPointF(17.5, 14.5));
  QPainterPath w2(at + QPointF(20.3, 5.0));
  w2.quadTo(at + QPointF(24.0, 11.0), at + QPointF(20.3, 17.0));
  f.add(stroke(w1, 1.2, Qt::FlatCap));
  f.add(stroke(w2, 1.2, Qt::FlatCap));
  return f.shape();
}

// A miss mark: the face of a frog that got away.
QPainterPath missShape(double x) {
  Figure f;
  const double y = 210;
  f.add(ellipse(x + 9, y + 10.5, 8.6, 5.6));
  f.add(ellipse(x + 4.2, y + 5.0, 3.4, 3.2));
  f.add(ellipse(x + 13.8, y + 5.0, 3.4, 3.2));
  f.cut(ellipse(x + 4.2, y + 4.8, 1.3, 1.3));
  f.cut(ellipse(x + 13.8, y + 4.8, 1.3, 1.3));
  QPainterPath mouth(QPointF(x + 4.0, y + 11.0));
  mouth.quadTo(QPointF(x + 9, y + 14.8), QPointF(x + 14.0, y + 11.0));
  f.cut(stroke(mouth, 1.0, Qt::FlatCap));
  // A stroke across: this one is lost.
  f.add(line({{x + 1.0, y + 18.6}, {x + 17.0, y + 18.6}}, 1.6, Qt::FlatCap));
  return f.shape();
}

// ------------------------------------------------------------- rendering

QImage renderShape(const QPainterPath& shape, QRect& lcdBox) {
  const QRectF ink = shape.boundingRect().united(shape.boundingRect().translated(kShadowOffset));
  const int left = int(std::floor(ink.left())) - 1, top = int(std::floor(ink.top())) - 1;
  const int right = int(std::ceil(ink.right())) + 1, bottom = int(std::ceil(ink.bottom())) + 1;
  lcdBox = QRect(left, top, right - left, bottom - top);
  QImage image = blank(lcdBox.width(), lcdBox.height());
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(-left, -top);
  p.fillPath(shape.translated(kShadowOffset), kInkShadow);
  p.fillPath(shape, kInk);
  return image;
}

void place(Skin& skin, const QString& element, const QPainterPath& shape) {
  QRect box;
  QImage image = renderShape(shape, box);
  const QString file = element + ".png";
  skin.pictures[element] = {file, image, box.translated(kLcdRect.topLeft())};
}

QPainterPath atLane(const QPainterPath& local, int lane) {
  return local.translated(lcd::kLaneX[lane - 1], lcd::kGround);
}

}  // namespace

QPainterPath frogFigure(bool leaping) { return frogShape(leaping ? Pose::Leaping : Pose::Sitting); }

void addLcdSegments(Skin& skin) {
  for (int lane = 1; lane <= 3; ++lane) {
    const QString n = QString::number(lane);
    place(skin, "im_hero_" + n + "_body", atLane(keeperBody(), lane));
    place(skin, "im_hero_" + n + "_leg_1", atLane(keeperLegsTogether(), lane));
    place(skin, "im_hero_" + n + "_leg_2", atLane(keeperLegsApart(), lane));
    place(skin, "im_hero_" + n + "_attack", atLane(keeperAttack(), lane));
    place(skin, "im_item_got_" + n, atLane(frogInNet(), lane));
    place(skin, "im_weapon_" + n, atLane(netAtRest(), lane));
    place(skin, "im_enemy_" + n + "_1", atLane(snakeCoil(), lane));
    place(skin, "im_enemy_" + n + "_2", atLane(snakeMiddle(), lane));
    place(skin, "im_enemy_" + n + "_3", atLane(snakeHigh(), lane));
  }
  for (const lcd::FrogSpot& spot : lcd::kFrogSpots) {
    place(skin, spot.element, frog(spot.centre, spot.facingLeft, spot.pose));
  }

  // The panel.
  place(skin, "im_panel_game_a", markText("GAME A", 8, 214.5, 8.4));
  place(skin, "im_panel_game_b", markText("GAME B", 8, 228.5, 8.4));
  place(skin, "im_panel_sound", soundShape());
  place(skin, "im_panel_time_am", markText("AM", 110, 214.5, 8.4));
  place(skin, "im_panel_time_pm", markText("PM", 110, 228.5, 8.4));
  place(skin, "im_panel_time_colon", colonShape());
  for (int i = 1; i <= 3; ++i) place(skin, "im_panel_miss_" + QString::number(i), missShape(248 + (i - 1) * 24));

  // Digit glyphs share one canvas size, so any of them fits any position.
  const QRect firstPosition(kLcdRect.left() + int(kDigitX[0]), kLcdRect.top() + int(kDigitY), kGlyphWidth, kGlyphHeight);
  for (int d = 0; d <= 9; ++d) {
    QImage glyph = blank(kGlyphWidth, kGlyphHeight);
    {
      QPainter p(&glyph);
      p.setRenderHint(QPainter::Antialiasing);
      p.fillPath(digitShape(d).translated(kShadowOffset), kInkShadow);
      p.fillPath(digitShape(d), kInk);
    }
    skin.pictures["im_panel_number_" + QString::number(d)] = {"im_panel_number_" + QString::number(d) + ".png", glyph, firstPosition};
  }
  for (int i = 1; i <= 4; ++i) {
    skin.pictures["im_panel_digit_pos_" + QString::number(i)] = {
        "", QImage(), QRect(kLcdRect.left() + int(kDigitX[i - 1]), kLcdRect.top() + int(kDigitY), kGlyphWidth, kGlyphHeight)};
  }
}

}  // namespace mk::assets
