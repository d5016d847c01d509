#include "tools/sim/snapshot.h"

#include <QImageWriter>
#include <algorithm>

#include "skin/gfxinit.h"
#include "tools/sim/skin_report.h"

namespace mk::sim {

SnapshotSkin loadSkinForSnapshot(lcd::ElementModel& model, const std::filesystem::path& configPath,
                                 std::ostream& log) {
  HeadlessSkinHost host(configPath, skin::Size{1920, 1080}, log);
  skin::prepareWindowElements(model);
  skin::Gfx_Init_Skin(model, host, /*FullscreenMode=*/false);
  SnapshotSkin skin;
  skin.look = {host.clientSize(), host.background(), host.backdropStretch()};
  for (std::size_t i = 0; i < kFrameElements.size(); ++i) skin.frameShown[i] = model.isVisible(kFrameElements[i]);
  return skin;
}

std::string writeSnapshot(lcd::ElementModel& model, const SnapshotSkin& skin, const std::filesystem::path& file) {
  for (std::size_t i = 0; i < kFrameElements.size(); ++i) model.setVisible(kFrameElements[i], skin.frameShown[i]);
  const QImage image = skin::composeFace(model, skin.look);
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

}  // namespace mk::sim
