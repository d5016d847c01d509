#pragma once

// Small drawing and file-writing tools shared by every part of the asset
// generator. Everything here is deterministic: no clocks, no machine-specific
// font lookup, no metadata that changes between runs.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace mk::assets {

// Where the generator reads its sources and writes its output.
struct Paths {
  QString source;  // the source tree (assets/ is read from here)
  QString data;    // everything the program loads at run time
  QString art;     // the windows' own artwork, embedded in the executable
  QString docs;    // snapshots for the documentation
};

// Creates the folders of path's parent; stops the program on failure.
void ensureParent(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
[[noreturn]] void fail(const QString& message);

void savePng(const QImage& image, const QString& path);
void saveJpeg(const QImage& image, const QString& path, int quality);
// An uncompressed 24-bit Windows bitmap (bottom-up rows, no colour table).
void saveBmp24(const QImage& image, const QString& path);
// An uncompressed 4-bit Windows bitmap: every pixel must be one of palette's
// colours (at most 16).
void saveBmp4(const QImage& image, const std::vector<QRgb>& palette, const QString& path);

// DejaVu, loaded from the files themselves, so the output does not depend on
// the machine's font configuration.
void loadFonts();
enum class Face { Sans, SansBold, SansOblique, SansBoldOblique, Condensed, CondensedBold, Serif, SerifBold, SerifBoldItalic, Mono };
QFont font(Face face, qreal pixelSize);

// A repeatable pseudo-random sequence (xorshift32) for textures.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1u) {}
  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  double unit() { return (next() & 0xffffff) / double(0x1000000); }  // 0 <= u < 1
 private:
  std::uint32_t state_;
};

// Shape building blocks, in pixels.
QPainterPath polygon(std::initializer_list<QPointF> points);
QPainterPath ellipse(qreal cx, qreal cy, qreal rx, qreal ry);
QPainterPath roundRect(qreal x, qreal y, qreal w, qreal h, qreal r);
// A line of the given width drawn along path, as a fillable outline.
QPainterPath stroke(const QPainterPath& path, qreal width, Qt::PenCapStyle cap = Qt::RoundCap);
QPainterPath line(std::initializer_list<QPointF> points, qreal width, Qt::PenCapStyle cap = Qt::RoundCap);
QPainterPath curve(QPointF from, QPointF c1, QPointF c2, QPointF to, qreal width,
                   Qt::PenCapStyle cap = Qt::RoundCap);
QPainterPath rotated(const QPainterPath& path, qreal degrees, QPointF about);
QPainterPath mirroredX(const QPainterPath& path, qreal axisX);
// Text as outlines, its baseline's left end at origin.
QPainterPath textPath(const QString& text, Face face, qreal size, QPointF origin);
// Text outlines centred on (cx, cy) by their ink.
QPainterPath textPathCentred(const QString& text, Face face, qreal size, qreal cx, qreal cy);

// A transparent ARGB image of the given size.
QImage blank(int width, int height, QColor fill = Qt::transparent);

// Makes every pixel either fully opaque (inside mask) or fully transparent
// (outside), so an outline drawn against a key colour has no blended fringe.
void applyHardMask(QImage& image, const QPainterPath& mask);

}  // namespace mk::assets
