#include "tools/assets/kit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace mk::assets {

void fail(const QString& message) {
  std::fprintf(stderr, "mk-assets: %s\n", qPrintable(message));
  std::exit(1);
}

void ensureParent(const QString& path) {
  const QString dir = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(dir)) fail("cannot create folder " + dir);
}

void writeFile(const QString& path, const QByteArray& bytes) {
  ensureParent(path);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) fail("cannot write " + path);
  if (file.write(bytes) != bytes.size()) fail("short write to " + path);
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) fail("cannot read " + path);
  return file.readAll();
}

namespace {

QByteArray encode(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  if (!writer.write(image)) fail(QString("cannot encode %1: %2").arg(format, writer.errorString()));
  return bytes;
}

void put16(QByteArray& b, int v) {
  b.append(char(v & 0xff));
  b.append(char((v >> 8) & 0xff));
}
void put32(QByteArray& b, std::int64_t v) {
  for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xff));
}

QByteArray bmpHeader(int width, int height, int bits, int paletteSize, int imageBytes) {
  const int headerBytes = 14 + 40 + 4 * paletteSize;
  QByteArray b;
  b.append("BM");
  put32(b, headerBytes + imageBytes);
  put32(b, 0);
  put32(b, headerBytes);
  put32(b, 40);
  put32(b, width);
  put32(b, height);  // positive: bottom-up rows
  put16(b, 1);
  put16(b, bits);
  put32(b, 0);  // BI_RGB
  put32(b, imageBytes);
  put32(b, 2835);  // 72 dpi
  put32(b, 2835);
  put32(b, paletteSize);
  put32(b, paletteSize);
  return b;
}

}  // namespace

void savePng(const QImage& image, const QString& path) {
  QImage copy = image;
  copy.setDotsPerMeterX(2835);
  copy.setDotsPerMeterY(2835);
  writeFile(path, encode(copy, "png", -1));
}

void saveJpeg(const QImage& image, const QString& path, int quality) {
  QImage copy = image.convertToFormat(QImage::Format_RGB32);
  copy.setDotsPerMeterX(2835);
  copy.setDotsPerMeterY(2835);
  writeFile(path, encode(copy, "jpeg", quality));
}

void saveBmp24(const QImage& image, const QString& path) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const int stride = (rgb.width() * 3 + 3) & ~3;
  QByteArray b = bmpHeader(rgb.width(), rgb.height(), 24, 0, stride * rgb.height());
  for (int y = rgb.height() - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    QByteArray line;
    for (int x = 0; x < rgb.width(); ++x) {
      line.append(char(qBlue(row[x])));
      line.append(char(qGreen(row[x])));
      line.append(char(qRed(row[x])));
    }
    line.append(QByteArray(stride - line.size(), '\0'));
    b.append(line);
  }
  writeFile(path, b);
}

void saveBmp4(const QImage& image, const std::vector<QRgb>& palette, const QString& path) {
  if (palette.empty() || palette.size() > 16) fail("a 4-bit bitmap needs 1 to 16 colours: " + path);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  std::map<QRgb, int> indexOf;
  for (std::size_t i = 0; i < palette.size(); ++i) indexOf[palette[i] | 0xff000000u] = int(i);
  const int stride = ((rgb.width() + 1) / 2 + 3) & ~3;
  QByteArray b = bmpHeader(rgb.width(), rgb.height(), 4, 16, stride * rgb.height());
  for (int i = 0; i < 16; ++i) {
    const QRgb c = i < int(palette.size()) ? palette[i] : 0;
    b.append(char(qBlue(c)));
    b.append(char(qGreen(c)));
    b.append(char(qRed(c)));
    b.append('\0');
  }
  for (int y = rgb.height() - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    QByteArray line(stride, '\0');
    for (int x = 0; x < rgb.width(); ++x) {
      auto it = indexOf.find(row[x] | 0xff000000u);
      if (it == indexOf.end()) fail(QString("colour #%1 is not in the palette of %2").arg(row[x] & 0xffffff, 6, 16, QChar('0')).arg(path));
      const int nibble = it->second;
      line[x / 2] = char(line[x / 2] | (x % 2 == 0 ? nibble << 4 : nibble));
    }
    b.append(line);
  }
  writeFile(path, b);
}

namespace {
struct FontFile {
  Face face;
  const char* file;
};
constexpr FontFile kFontFiles[] = {
    {Face::Sans, "DejaVuSans.ttf"},
    {Face::SansBold, "DejaVuSans-Bold.ttf"},
    {Face::SansOblique, "DejaVuSans-Oblique.ttf"},
    {Face::SansBoldOblique, "DejaVuSans-BoldOblique.ttf"},
    {Face::Condensed, "DejaVuSansCondensed.ttf"},
    {Face::CondensedBold, "DejaVuSansCondensed-Bold.ttf"},
    {Face::Serif, "DejaVuSerif.ttf"},
    {Face::SerifBold, "DejaVuSerif-Bold.ttf"},
    {Face::SerifBoldItalic, "DejaVuSerif-BoldItalic.ttf"},
    {Face::Mono, "DejaVuSansMono.ttf"},
};
std::map<Face, QString>& families() {
  static std::map<Face, QString> map;
  return map;
}
}  // namespace

void loadFonts() {
  const QString folder = "/usr/share/fonts/truetype/dejavu/";
  for (const FontFile& f : kFontFiles) {
    const int id = QFontDatabase::addApplicationFont(folder + f.file);
    if (id < 0) fail(QString("cannot load the font %1%2 (packages fonts-dejavu-core and fonts-dejavu-extra)").arg(folder, f.file));
    families()[f.face] = QFontDatabase::applicationFontFamilies(id).value(0);
  }
}

QFont font(Face face, qreal pixelSize) {
  QFont f(families().at(face));
  // The style of the file itself; asking for bold or italic again would make
  // the font engine synthesise it.
  switch (face) {
    case Face::SansBold:
    case Face::CondensedBold:
    case Face::SerifBold:
      f.setWeight(QFont::Bold);
      break;
    case Face::SansOblique:
      f.setStyle(QFont::StyleOblique);
      break;
    case Face::SansBoldOblique:
      f.setWeight(QFont::Bold);
      f.setStyle(QFont::StyleOblique);
      break;
    case Face::SerifBoldItalic:
      f.setWeight(QFont::Bold);
      f.setStyle(QFont::StyleItalic);
      break;
    default:
      break;
  }
  if (face == Face::Condensed || face == Face::CondensedBold) f.setStretch(QFont::SemiCondensed);
  f.setPixelSize(qMax(1, qRound(pixelSize)));
  f.setHintingPreference(QFont::PreferVerticalHinting);
  f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias | QFont::NoFontMerging));
  f.setKerning(true);
  return f;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
  QPainterPath p;
  p.addPolygon(QPolygonF(QList<QPointF>(points)));
  p.closeSubpath();
  return p;
}

QPainterPath ellipse(qreal cx, qreal cy, qreal rx, qreal ry) {
  QPainterPath p;
  p.addEllipse(QPointF(cx, cy), rx, ry);
  return p;
}

QPainterPath roundRect(qreal x, qreal y, qreal w, qreal h, qreal r) {
  QPainterPath p;
  p.addRoundedRect(QRectF(x, y, w, h), r, r);
  return p;
}

QPainterPath stroke(const QPainterPath& path, qreal width, Qt::PenCapStyle cap) {
  QPainterPathStroker s;
  s.setWidth(width);
  s.setCapStyle(cap);
  s.setJoinStyle(Qt::RoundJoin);
  return s.createStroke(path).simplified();
}

QPainterPath line(std::initializer_list<QPointF> points, qreal width, Qt::PenCapStyle cap) {
  QPainterPath p;
  bool first = true;
  for (const QPointF& pt : points) {
    if (first) p.moveTo(pt);
    else p.lineTo(pt);
    first = false;
  }
  return stroke(p, width, cap);
}

QPainterPath curve(QPointF from, QPointF c1, QPointF c2, QPointF to, qreal width, Qt::PenCapStyle cap) {
  QPainterPath p(from);
  p.cubicTo(c1, c2, to);
  return stroke(p, width, cap);
}

QPainterPath rotated(const QPainterPath& path, qreal degrees, QPointF about) {
  QTransform t;
  t.translate(about.x(), about.y());
  t.rotate(degrees);
  t.translate(-about.x(), -about.y());
  return t.map(path);
}

QPainterPath mirroredX(const QPainterPath& path, qreal axisX) {
  QTransform t(-1, 0, 0, 1, 2 * axisX, 0);
  return t.map(path);
}

QPainterPath textPath(const QString& text, Face face, qreal size, QPointF origin) {
  // Outlines taken from a large rendering and scaled, so any fractional size
  // is exact and no hinting is involved.
  constexpr qreal kDesign = 100;
  QPainterPath p;
  p.addText(QPointF(0, 0), font(face, kDesign), text);
  QTransform t;
  t.translate(origin.x(), origin.y());
  t.scale(size / kDesign, size / kDesign);
  return t.map(p);
}

QPainterPath textPathCentred(const QString& text, Face face, qreal size, qreal cx, qreal cy) {
  QPainterPath p = textPath(text, face, size, QPointF(0, 0));
  const QRectF r = p.boundingRect();
  return p.translated(cx - r.center().x(), cy - r.center().y());
}

QImage blank(int width, int height, QColor fill) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(fill);
  return image;
}

void applyHardMask(QImage& image, const QPainterPath& mask) {
  QImage inside(image.size(), QImage::Format_ARGB32_Premultiplied);
  inside.fill(Qt::transparent);
  {
    QPainter p(&inside);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(mask, Qt::white);
  }
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    const auto* in = reinterpret_cast<const QRgb*>(inside.constScanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if (qAlpha(in[x]) == 0) {
        row[x] = 0;
      } else {
        // Inside: the drawing over nothing would be see-through; the body is
        // always painted, but make sure no half-transparent pixel survives.
        const QRgb c = row[x];
        row[x] = qRgba(qRed(c), qGreen(c), qBlue(c), 255);
      }
    }
  }
  image = out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace mk::assets
