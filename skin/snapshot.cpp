#include "skin/snapshot.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include "skin/compositor.h"
#include "skin/gfxinit.h"
#include "skin/skin_report.h"

namespace mk::skin {

QImage composeFace(const lcd::ElementModel& model, const FaceLook& look) {
  const Size c = look.client;
  if (c.width <= 0 || c.height <= 0 || c.width > kMaxSnapshotSide || c.height > kMaxSnapshotSide) {
    return {};
  }
  QImage image(c.width, c.height, QImage::Format_ARGB32_Premultiplied);
  Compositor compositor;
  compositor.setBackground(QColor(look.background.red, look.background.green, look.background.blue));
  compositor.setBackdropStretch(look.backdropStretch);
  {
    QPainter painter(&image);
    compositor.paint(painter, model, image.rect());
  }
  // The background is opaque, so nothing of the alpha channel is worth keeping.
  return image.convertToFormat(QImage::Format_RGB32);
}

std::string writeSnapshot(const lcd::ElementModel& model, const FaceLook& look,
                          const std::filesystem::path& file) {
  const QImage image = composeFace(model, look);
  if (image.isNull()) {
    return "the face is " + std::to_string(look.client.width) + "x" + std::to_string(look.client.height) +
           " pixels, which cannot be pictured";
  }
  QImageWriter writer(QString::fromStdString(file.string()), "png");
  if (!writer.write(image)) {
    return "cannot write " + file.string() + ": " + writer.errorString().toStdString();
  }
  return {};
}

FaceLook loadSkinForSnapshot(lcd::ElementModel& model, const std::filesystem::path& configPath,
                             std::ostream& log) {
  HeadlessSkinHost host(configPath, Size{1920, 1080}, log);
  prepareWindowElements(model);
  Gfx_Init_Skin(model, host, /*FullscreenMode=*/false);
  return {host.clientSize(), host.background(), host.backdropStretch()};
}

}  // namespace mk::skin
