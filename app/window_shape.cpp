#include "app/window_shape.h"

#include <QBitmap>

namespace mk::app {

QRegion opaqueRegion(const QImage& composed, QColor key, QPoint origin) {
  if (composed.isNull()) return {};
  const QImage rgb = composed.convertToFormat(QImage::Format_RGB32);
  const QRgb keyPixel = key.rgb() | 0xff000000u;
  // A one-bit picture of the opaque pixels; QRegion builds its spans from it
  // far faster than by uniting rectangles one by one.
  QImage bits(rgb.size(), QImage::Format_MonoLSB);
  bits.setColorCount(2);
  bits.setColor(0, qRgb(255, 255, 255));
  bits.setColor(1, qRgb(0, 0, 0));
  bits.fill(0);
  bool any = false;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* out = bits.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      if ((row[x] | 0xff000000u) != keyPixel) {
        out[x >> 3] = static_cast<uchar>(out[x >> 3] | (1u << (x & 7)));
        any = true;
      }
    }
  }
  if (!any) return {};
  QRegion region(QBitmap::fromImage(bits, Qt::MonoOnly | Qt::ThresholdDither));
  region.translate(origin);
  return region;
}

}  // namespace mk::app
