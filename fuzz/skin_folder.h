#pragma once

// What the skin targets share: a folder holding the pictures a fuzzed
// Config.ini may name, which becomes the current directory (the skin's
// folders resolve against it), and a window as the loader dresses it.
// Corpus and artifact paths given to these targets must therefore be
// absolute; tools/fuzz passes them so.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "skin/skin_host.h"

namespace mk::fuzz {

// Makes the folder (a scratchFolder) and enters it, on the first call.
void enterSkinFolder(std::string_view target);

// The folder's Config.ini, replaced by `text`.
std::filesystem::path writeConfig(std::string_view text);

// Whether every read stays inside the folder: no "..", no absolute folder or
// file name. Inputs that fail this are not run.
bool staysInside(std::string_view text);

// The passes an input asks for, from its last byte; the bytes before it are
// the Config.ini. A skin is loaded once at start and again each time the
// player switches between windowed and full-screen, so pictures one pass
// keeps from the pass before must hold up too.
struct SkinRun {
  std::string_view config;
  bool fullscreenFirst = false;
  bool switchMode = false;   // a second pass in the other mode
  bool loadManual = false;   // the manual's page loader as well
  bool showEverything = false;  // every element shown before a face is composed
};
SkinRun splitSkinRun(std::span<const std::uint8_t> input);

// A window as Qt would keep it: sizes clamped to what a widget accepts, or
// to `maxSide` for a target that pictures the window.
class FuzzHost : public skin::SkinHost {
 public:
  explicit FuzzHost(skin::Size screen = {1920, 1080}, int maxSide = kMaxWidgetSize)
      : screen_(screen), maxSide_(maxSide) {}

  std::filesystem::path configPath() override;
  skin::Size screenSize() override { return screen_; }
  skin::Size clientSize() override { return client_; }
  void setClientHeight(int height) override { client_.height = std::clamp(height, 0, maxSide_); }
  void setClientWidth(int width) override { client_.width = std::clamp(width, 0, maxSide_); }
  void setBackgroundColour(skin::Colour colour) override { background_ = colour; }
  void setKeyColour(skin::Colour) override {}
  void setColourKeyEnabled(bool) override {}
  void setBackdropStretch(bool stretch) override { backdropStretch_ = stretch; }
  void showError(std::string_view text) override;
  void requestTermination() override {}

  skin::Colour background() const { return background_; }
  bool backdropStretch() const { return backdropStretch_; }

  static constexpr int kMaxWidgetSize = 16777215;

 private:
  skin::Size screen_;
  int maxSide_;
  skin::Size client_ = skin::kInitialClientSize;
  skin::Colour background_ = skin::kInitialBackground;
  bool backdropStretch_ = false;
};

}  // namespace mk::fuzz
