#pragma once

#include <array>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lcd/element_model.h"
#include "skin/compositor.h"
#include "tools/sim/frame_elements.h"

namespace mk::sim {


// A skin loaded for a headless run that ends with a picture of the face.
struct SnapshotSkin {
  skin::FaceLook look;
  std::array<bool, kFrameElements.size()> frameShown{};  // as the skin pass left them
};

// One windowed skin pass into `model` with the Config.ini at configPath and
// the folders of the current directory. Message boxes and a termination
// request go to `log` as the skin report writes them.
SnapshotSkin loadSkinForSnapshot(lcd::ElementModel& model, const std::filesystem::path& configPath,
                                 std::ostream& log);

// A headless run may darken everything to trace from a dark face; this gives
// the frame elements back the visibility the skin pass left them with, then
// writes the composed face as PNG. Returns the reason when it could not.
std::string writeSnapshot(lcd::ElementModel& model, const SnapshotSkin& skin,
                          const std::filesystem::path& file);

// Removes "--snapshot FILE" from args. Sets `file` when it was there;
// returns a message when the option lacks its file.
std::optional<std::string> takeSnapshotOption(std::vector<std::string_view>& args,
                                              std::optional<std::string>& file);

}  // namespace mk::sim
