#include "ui/art_pictures.h"

#include <QFile>
#include <QString>

#include <span>

#include "skin/decode.h"

namespace mk::ui {

lcd::Picture artPicture(const char* resource) {
  QFile file(QString::fromLatin1(resource));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size()));
  const QString name = file.fileName().toLower();
  skin::DecodeResult decoded;
  if (name.endsWith(QLatin1String(".png")))
    decoded = skin::decodePng(data);
  else if (name.endsWith(QLatin1String(".bmp")))
    decoded = skin::decodeBmp(data);
  else if (name.endsWith(QLatin1String(".jpg")) || name.endsWith(QLatin1String(".jpeg")))
    decoded = skin::decodeJpeg(data);
  else
    return {};
  return decoded.ok() ? decoded.picture : lcd::Picture{};
}

QImage artImage(const char* resource) {
  const lcd::Picture picture = artPicture(resource);
  if (picture.isNull()) return {};
  // The decoded pixels are premultiplied ARGB32, row by row: QImage's own layout.
  const QImage view(reinterpret_cast<const uchar*>(picture.pixels()), picture.width(), picture.height(),
                    static_cast<qsizetype>(picture.width()) * 4, QImage::Format_ARGB32_Premultiplied);
  return view.copy();
}

QPixmap artPixmap(const char* resource) {
  const QImage image = artImage(resource);
  return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

}  // namespace mk::ui
