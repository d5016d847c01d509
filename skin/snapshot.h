#pragma once

#include <QImage>
#include <filesystem>
#include <iosfwd>
#include <string>

#include "lcd/element_model.h"
#include "skin/skin_host.h"

namespace mk::skin {

// What a picture of the face needs beyond the element model.
struct FaceLook {
  Size client = kInitialClientSize;
  Colour background = kInitialBackground;
  bool backdropStretch = false;
};

// The whole client area composed as the window shows it. Sizes beyond
// kMaxSnapshotSide are refused (the result is a null image).
inline constexpr int kMaxSnapshotSide = 16384;
QImage composeFace(const lcd::ElementModel& model, const FaceLook& look);

// Writes the composed face as PNG; returns the reason when it could not.
std::string writeSnapshot(const lcd::ElementModel& model, const FaceLook& look,
                          const std::filesystem::path& file);

// One windowed skin pass into `model` with the Config.ini at configPath and
// the folders of the current directory, for a headless run that ends with a
// snapshot. Message boxes go to `log` as "message: <text>". Returns the look
// the window would have (its background is the key colour).
FaceLook loadSkinForSnapshot(lcd::ElementModel& model, const std::filesystem::path& configPath,
                             std::ostream& log);

}  // namespace mk::skin
