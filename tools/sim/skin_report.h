#pragma once

#include <filesystem>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "lcd/element_model.h"
#include "skin/skin_host.h"

namespace mk::sim {

using skin::Colour;
using skin::Size;

// A window-free SkinHost: keeps what the loader sets, starting from the main
// window's initial look, and writes every message box text as
// "message: <text>" and a termination request as "terminate" to `log`.
class HeadlessSkinHost : public skin::SkinHost {
 public:
  HeadlessSkinHost(std::filesystem::path configPath, Size screen, std::ostream& log)
      : configPath_(std::move(configPath)), screen_(screen), log_(log) {}

  std::filesystem::path configPath() override { return configPath_; }
  Size screenSize() override { return screen_; }
  Size clientSize() override { return client_; }
  void setClientHeight(int height) override { client_.height = height; }
  void setClientWidth(int width) override { client_.width = width; }
  void setBackgroundColour(Colour colour) override { background_ = colour; }
  void setKeyColour(Colour colour) override { keyColour_ = colour; }
  void setColourKeyEnabled(bool on) override { colourKeyOn_ = on; }
  void setBackdropStretch(bool stretch) override { backdropStretch_ = stretch; }
  void showError(std::string_view text) override;
  void requestTermination() override;

  Colour background() const { return background_; }
  Colour keyColour() const { return keyColour_; }
  bool colourKeyOn() const { return colourKeyOn_; }
  bool backdropStretch() const { return backdropStretch_; }
  bool terminationRequested() const { return terminationRequested_; }

 private:
  std::filesystem::path configPath_;
  Size screen_;
  std::ostream& log_;
  Size client_ = skin::kInitialClientSize;
  Colour background_ = skin::kInitialBackground;
  Colour keyColour_ = skin::kInitialKeyColour;
  bool colourKeyOn_ = skin::kInitialColourKeyOn;
  bool backdropStretch_ = false;
  bool terminationRequested_ = false;
};

// "rrggbb", lower case.
std::string hexColour(Colour colour);

// The folder of the running executable.
std::filesystem::path executableFolder();

// --skin-report [--fullscreen] [--screen WIDTHxHEIGHT]: one skin pass with
// the given Config.ini, then one line for each thing it set. Returns the exit
// status: 0 whatever the skin holds, 2 for options it does not understand.
int runSkinReport(std::span<const std::string_view> args, const std::filesystem::path& configPath,
                  std::ostream& out, std::ostream& err);

// The same with Config.ini beside the executable.
int runSkinReport(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace mk::sim
