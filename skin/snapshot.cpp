#include "skin/snapshot.h"

#include <QImageWriter>
#include <QPainter>
#include <algorithm>

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
  // The background is opaque, so the alpha channel holds nothing worth keeping.
  return image.convertToFormat(QImage::Format_RGB32);
}

SnapshotSkin loadSkinForSnapshot(lcd::ElementModel& model, const std::filesystem::path& configPath,
                                 std::ostream& log) {
  HeadlessSkinHost host(configPath, Size{1920, 1080}, log);
  prepareWindowElements(model);
  Gfx_Init_Skin(model, host, /*FullscreenMode=*/false);
  SnapshotSkin skin;
  skin.look = {host.clientSize(), host.background(), host.backdropStretch()};
  for (std::size_t i = 0; i < kFrameElements.size(); ++i) skin.frameShown[i] = model.isVisible(kFrameElements[i]);
  return skin;
}

std::string writeSnapshot(lcd::ElementModel& model, const SnapshotSkin& skin, const std::filesystem::path& file) {
  for (std::size_t i = 0; i < kFrameElements.size(); ++i) model.setVisible(kFrameElements[i], skin.frameShown[i]);
  const QImage image = composeFace(model, skin.look);
  if (image.isNull()) {
    return "the face is " + std::to_string(skin.look.client.width) + "x" +
           std::to_string(skin.look.client.height) + " pixels, which cannot be pictured";
  }
  QImageWriter writer(QString::fromStdString(file.string()), "png");
  if (!writer.write(image)) {
    return "cannot write " + file.string() + ": " + writer.errorString().toStdString();
  }
  return {};
}

std::optional<std::string> takeSnapshotOption(std::vector<std::string_view>& args,
                                              std::optional<std::string>& file) {
  const auto it = std::find(args.begin(), args.end(), std::string_view("--snapshot"));
  if (it == args.end()) return std::nullopt;
  if (std::next(it) == args.end() || std::next(it)->starts_with("--")) return "--snapshot needs a FILE.png";
  file = std::string(*std::next(it));
  args.erase(it, std::next(it, 2));
  return std::nullopt;
}

}  // namespace mk::skin
