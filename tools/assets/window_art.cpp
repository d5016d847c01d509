// The windows' own artwork, embedded in the executable: the splash dialog's
// backdrop, packaging picture and buttons, the in-game menu picture, the about
// dialog's emblem, the manual viewer's buttons and the application icon.

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QStringList>
#include <array>

#include "tools/assets/generators.h"
#include "tools/assets/skin.h"

namespace mk::assets {
namespace {

const QColor kNavy(8, 41, 82);
const QColor kMarsh(40, 86, 66);
const QColor kGold(214, 176, 86);
const QColor kCream(238, 226, 190);

QPainterPath placed(const QPainterPath& path, QPointF at, double scale, bool mirror = false) {
  QTransform t;
  t.translate(at.x(), at.y());
  t.scale(mirror ? -scale : scale, scale);
  return t.map(path);
}

// -------------------------------------------------------- splash dialog

QImage splashBackdrop(std::vector<QRgb>& palette) {
  // Sixteen colours, bands from top to bottom: dark blue title band, lighter
  // blue band behind the packaging, white field, dark blue footer.
  palette = {qRgb(8, 41, 82),    qRgb(46, 104, 168), qRgb(255, 255, 255), qRgb(214, 176, 86),
             qRgb(36, 88, 148),  qRgb(62, 122, 186), qRgb(232, 238, 246), qRgb(20, 62, 112),
             qRgb(0, 0, 0),      qRgb(128, 128, 128), qRgb(192, 192, 192), qRgb(40, 86, 66),
             qRgb(238, 226, 190), qRgb(96, 150, 206), qRgb(176, 196, 222), qRgb(14, 52, 98)};
  QImage img(460, 420, QImage::Format_RGB32);
  img.fill(palette[2]);
  auto rows = [&](int from, int to, QRgb c) {
    for (int y = from; y < to; ++y)
      for (int x = 0; x < 460; ++x) img.setPixel(x, y, c);
  };
  rows(0, 52, palette[0]);
  rows(52, 220, palette[1]);
  rows(380, 420, palette[0]);
  // A fine diagonal weave in the blue band, and gold rules at its edges.
  for (int y = 54; y < 218; ++y)
    for (int x = 0; x < 460; ++x)
      if ((x + y) % 8 == 0) img.setPixel(x, y, palette[4]);
      else if ((x - y + 1024) % 16 == 0) img.setPixel(x, y, palette[5]);
  rows(52, 54, palette[3]);
  rows(218, 220, palette[3]);
  rows(380, 381, palette[3]);
  // Softer bands near the white field's edges.
  rows(220, 223, palette[6]);
  rows(377, 380, palette[6]);
  // Reeds along the bottom of the blue band, pixel by pixel (no blending).
  {
    QImage reeds(460, 420, QImage::Format_RGB32);
    reeds.fill(Qt::white);
    QPainter p(&reeds);
    p.setRenderHint(QPainter::Antialiasing, false);
    Noise n(8);
    for (double x : {10.0, 24.0, 36.0, 420.0, 434.0, 448.0}) {
      for (int k = 0; k < 3; ++k) {
        const double xs = x + k * 4, h = 50 + n.unit() * 60;
        QPainterPath stem(QPointF(xs, 218));
        stem.quadTo(QPointF(xs + 3, 218 - h * 0.6), QPointF(xs + 6, 218 - h));
        p.fillPath(stroke(stem, 2.0), Qt::black);
        if (k != 1) p.fillPath(ellipse(xs + 6, 218 - h - 6, 2.5, 7), Qt::black);
      }
    }
    p.end();
    for (int y = 54; y < 218; ++y)
      for (int x = 0; x < 460; ++x)
        if (qRed(reeds.pixel(x, y)) < 128) img.setPixel(x, y, palette[15]);
  }
  return img;
}

QImage packaging(const Skin& skin) {
  QImage img = blank(220, 116, kNavy);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  // The box: a green front with a gold rule, its top edge catching light.
  QLinearGradient front(0, 0, 0, 116);
  front.setColorAt(0, QColor(52, 108, 82));
  front.setColorAt(1, QColor(24, 56, 42));
  p.fillRect(QRectF(0, 0, 220, 116), front);
  p.setPen(QPen(kGold, 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(3.5, 3.5, 213, 109), 5, 5);
  p.setPen(Qt::NoPen);
  // Sunset stripes behind the handheld.
  for (int i = 0; i < 3; ++i)
    p.fillRect(QRectF(4, 74 + i * 7, 212, 3.2), i == 1 ? QColor(232, 120, 50, 200) : QColor(214, 176, 86, 150));
  const QPainterPath title = textPathCentred("Marsh Keeper", Face::SerifBoldItalic, 19, 110, 17);
  p.fillPath(title.translated(0.8, 1.0), QColor(0, 0, 0, 120));
  p.fillPath(title, kCream);
  const QImage face = composeAllSegments(skin);
  QImage cut = face.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < cut.height(); ++y)
    for (int x = 0; x < cut.width(); ++x)
      if ((cut.pixel(x, y) & 0xffffff) == 0xff00ff) cut.setPixel(x, y, 0);
  const QImage small = cut.scaled(150, 79, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  p.fillPath(roundRect(38, 34, 150, 79, 6), QColor(0, 0, 0, 90));
  p.drawImage(QPointF(35, 30), small);
  p.fillPath(textPathCentred("GAME A", Face::CondensedBold, 6.5, 202, 38), kCream);
  p.fillPath(textPathCentred("GAME B", Face::CondensedBold, 6.5, 202, 47), kCream);
  p.fillPath(textPathCentred("ALARM", Face::CondensedBold, 6.5, 202, 56), kCream);
  p.fillPath(placed(frogFigure(true), {205, 100}, 0.55, true), QColor(150, 196, 120));
  p.fillPath(placed(frogFigure(false), {17, 100}, 0.6), QColor(150, 196, 120));
  return img;
}

enum class PillStyle { Blue, Grey, Amber };

QImage pillButton(const QString& text, PillStyle style) {
  QImage img = blank(107, 30);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(0.5, 0.5, 106, 29);
  QColor top, bottom, rim, ink = Qt::white;
  switch (style) {
    case PillStyle::Blue: top = QColor(84, 150, 236); bottom = QColor(24, 78, 164); rim = QColor(12, 48, 110); break;
    case PillStyle::Grey: top = QColor(190, 190, 190); bottom = QColor(128, 128, 128); rim = QColor(96, 96, 96); break;
    case PillStyle::Amber: top = QColor(252, 214, 110); bottom = QColor(226, 150, 36); rim = QColor(160, 100, 16); ink = kNavy; break;
  }
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.setBrush(g);
  p.setPen(QPen(rim, 1.0));
  p.drawRoundedRect(r, 14.5, 14.5);
  p.setPen(Qt::NoPen);
  QLinearGradient shine(0, 1, 0, 15);
  shine.setColorAt(0, QColor(255, 255, 255, 110));
  shine.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillPath(roundRect(6, 2, 95, 13, 6.5), shine);
  const QPainterPath word = textPathCentred(text, Face::SansBold, 15, 53.5, 15.5);
  if (ink == Qt::white) p.fillPath(word.translated(0, 1), QColor(0, 0, 0, 90));
  p.fillPath(word, ink);
  return img;
}

// ------------------------------------------------------ in-game menu

QImage gameMenu() {
  QImage img(256, 512, QImage::Format_ARGB32);
  img.fill(qRgba(0, 0, 0, 204));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 256; ++x) img.setPixel(x, y, qRgba(0, 0, 0, 255));
  QPainter p(&img);
  // Three bars, hard-edged, within the button's 36 pixels.
  for (int bar = 0; bar < 3; ++bar) p.fillRect(QRect(8, 9 + bar * 6, 20, 3), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  p.setClipRect(QRect(0, 0, 256, 32));
  p.fillPath(textPath("Game menu", Face::SansBold, 15, {44, 21.5}), Qt::white);
  p.end();
  // Anything the text's edges blended stays opaque: the strip is solid.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 256; ++x) img.setPixel(x, y, img.pixel(x, y) | 0xff000000u);
  return img;
}

// -------------------------------------------------------- about dialog

QImage aboutEmblem() {
  QImage img = blank(116, 160, kNavy);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c(58, 62);
  QPainterPath shield;
  shield.moveTo(c + QPointF(-44, -48));
  shield.lineTo(c + QPointF(44, -48));
  shield.lineTo(c + QPointF(44, 8));
  shield.cubicTo(c + QPointF(44, 40), c + QPointF(16, 58), c + QPointF(0, 66));
  shield.cubicTo(c + QPointF(-16, 58), c + QPointF(-44, 40), c + QPointF(-44, 8));
  shield.closeSubpath();
  p.fillPath(shield.translated(1.5, 2), QColor(0, 0, 0, 110));
  QLinearGradient g(c + QPointF(0, -48), c + QPointF(0, 66));
  g.setColorAt(0, QColor(62, 124, 94));
  g.setColorAt(1, QColor(22, 54, 40));
  p.fillPath(shield, g);
  p.setPen(QPen(kGold, 2.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(shield);
  p.setPen(Qt::NoPen);
  // Night sky, moon, reeds, a frog on a pad: the game in a badge.
  p.save();
  p.setClipPath(shield);
  p.fillPath(ellipse(c.x() + 22, c.y() - 30, 8, 8).subtracted(ellipse(c.x() + 26, c.y() - 33, 7, 7)), kCream);
  for (int side : {-1, 1}) {
    for (int k = 0; k < 3; ++k) {
      const double x = c.x() + side * (30 - k * 6);
      const double h = 44 - k * 8;
      QPainterPath stem(QPointF(x, c.y() + 30));
      stem.quadTo(QPointF(x + side * 2, c.y() + 30 - h * 0.6), QPointF(x - side * 2, c.y() + 30 - h));
      p.fillPath(stroke(stem, 2.0), kGold);
      p.fillPath(ellipse(x - side * 2, c.y() + 30 - h - 5, 2.4, 6), kGold);
    }
  }
  p.fillPath(ellipse(c.x(), c.y() + 16, 26, 7).subtracted(polygon({{c.x(), c.y() + 16}, {c.x() + 18, c.y() + 9}, {c.x() + 24, c.y() + 12}})),
             QColor(120, 170, 96));
  p.fillPath(placed(frogFigure(false), c + QPointF(0, 2), 1.9, true), QColor(24, 34, 30));
  p.restore();
  p.fillPath(textPathCentred("MARSH", Face::SansBold, 12, 58, 138), kCream);
  p.fillPath(textPathCentred("KEEPER", Face::SansBold, 12, 58, 152), kCream);
  p.fillPath(textPathCentred("5.00", Face::SansBold, 9, 58, 118), kGold);
  return img;
}

// ---------------------------------------------------- manual viewer

// 16 x 14, drawn pixel by pixel: a blue face, a white two-pixel symbol and a
// two-pixel bevel (released: light top-left, dark bottom-right; pressed: the
// other way round, with the symbol one pixel further right and down).
enum class Symbol { Next, Previous, Close };

QImage manualButton(Symbol symbol, bool pressed) {
  const QRgb face = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
  const QRgb lightOuter = qRgb(192, 192, 255), lightInner = qRgb(128, 128, 255);
  const QRgb darkInner = qRgb(0, 0, 192), darkOuter = qRgb(0, 0, 0);
  QImage img(16, 14, QImage::Format_RGB32);
  img.fill(face);
  const QRgb topOuter = pressed ? darkOuter : lightOuter, topInner = pressed ? darkInner : lightInner;
  const QRgb bottomOuter = pressed ? lightOuter : darkOuter, bottomInner = pressed ? lightInner : darkInner;
  for (int x = 0; x < 16; ++x) img.setPixel(x, 0, topOuter);
  for (int y = 0; y < 14; ++y) img.setPixel(0, y, topOuter);
  for (int x = 1; x < 15; ++x) img.setPixel(x, 1, topInner);
  for (int y = 1; y < 13; ++y) img.setPixel(1, y, topInner);
  for (int x = 1; x < 16; ++x) img.setPixel(x, 13, bottomOuter);
  for (int y = 0; y < 14; ++y) img.setPixel(15, y, bottomOuter);
  for (int x = 2; x < 15; ++x) img.setPixel(x, 12, bottomInner);
  for (int y = 1; y < 13; ++y) img.setPixel(14, y, bottomInner);
  static const std::array<const char*, 10> kNext = {
      "............", "....##......", ".....##.....", "......##....", ".......##...",
      ".......##...", "......##....", ".....##.....", "....##......", "............"};
  static const std::array<const char*, 10> kClose = {
      "............", "..##....##..", "..###..###..", "...######...", "....####....",
      "....####....", "...######...", "..###..###..", "..##....##..", "............"};
  const int shift = pressed ? 1 : 0;
  for (int row = 0; row < 10; ++row) {
    for (int col = 0; col < 12; ++col) {
      const char* pattern = symbol == Symbol::Close ? kClose[row] : kNext[row];
      const int source = symbol == Symbol::Previous ? 11 - col : col;
      // The previous chevron is the next one mirrored about the face's middle.
      if (pattern[source] != '#') continue;
      const int x = 2 + col + shift, y = 2 + row + shift;
      if (x >= 2 && x <= 13 && y >= 2 && y <= 11) img.setPixel(x, y, white);
    }
  }
  return img;
}

// ------------------------------------------------------------- icon

QImage icon(int size) {
  QImage img = blank(size, size);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  QLinearGradient g(0, 0, 0, 64);
  g.setColorAt(0, QColor(66, 132, 100));
  g.setColorAt(1, QColor(24, 60, 44));
  p.fillPath(roundRect(2, 2, 60, 60, 12), g);
  if (size >= 32) {
    p.setPen(QPen(kGold, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundRect(5, 5, 54, 54, 9.5));
    p.setPen(Qt::NoPen);
    p.fillPath(ellipse(48, 16, 6, 6).subtracted(ellipse(51, 14, 5.2, 5.2)), kCream);
  }
  p.fillPath(ellipse(32, 47, 22, 6.5).subtracted(polygon({{32, 47}, {46, 40}, {52, 43}})), QColor(130, 186, 104));
  p.fillPath(placed(frogFigure(false), {31, 34}, size >= 32 ? 1.9 : 2.1, true), kCream);
  return img;
}

QString qrc(const QStringList& files) {
  QString s = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/art\">\n";
  for (const QString& f : files) s += "    <file>" + f + "</file>\n";
  s += "  </qresource>\n</RCC>\n";
  return s;
}

}  // namespace

void writeWindowArt(const Paths& paths, const Skin& skin) {
  const QString art = paths.art + "/";
  QStringList files;
  std::vector<QRgb> palette;
  const QImage splash = splashBackdrop(palette);
  saveBmp4(splash, palette, art + "splash_backdrop.bmp");
  files << "splash_backdrop.bmp";
  saveJpeg(packaging(skin), art + "splash_box.jpg", 92);
  files << "splash_box.jpg";
  savePng(pillButton("Play", PillStyle::Blue), art + "splash_play.png");
  savePng(pillButton("Play", PillStyle::Grey), art + "splash_play_disabled.png");
  savePng(pillButton("Readme", PillStyle::Amber), art + "splash_readme.png");
  files << "splash_play.png" << "splash_play_disabled.png" << "splash_readme.png";
  savePng(gameMenu(), art + "game_menu.png");
  files << "game_menu.png";
  savePng(aboutEmblem(), art + "about_emblem.png");
  files << "about_emblem.png";
  const std::array<std::pair<Symbol, const char*>, 3> buttons{
      {{Symbol::Next, "next"}, {Symbol::Previous, "previous"}, {Symbol::Close, "close"}}};
  for (const auto& [symbol, name] : buttons) {
    for (bool pressed : {false, true}) {
      const QString file = QString("manual_%1_%2.png").arg(name, pressed ? "down" : "up");
      savePng(manualButton(symbol, pressed), art + file);
      files << file;
    }
  }
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QString file = QString("icons/marsh-keeper-%1.png").arg(size);
    savePng(icon(size), art + file);
    files << file;
  }
  writeFile(art + "art.qrc", qrc(files).toUtf8());
}

}  // namespace mk::assets
