#include "skin/gfxinit.h"

#include <optional>
#include <string>

#include "skin/decode.h"
#include "files/find_file.h"
#include "skin/layout.h"
#include "skin/profile.h"

namespace mk::skin {
namespace fs = std::filesystem;
using lcd::ElementId;

namespace {

constexpr std::string_view kCommon = "Common";
constexpr std::string_view kFullscreen = "Fullscreen";
constexpr std::string_view kVideoMode = "VideoMode";
constexpr std::string_view kManual = "Manual";

// The configuration reader has already turned the skin's backslashes into
// '/' and ended the folder with one.
fs::path inFolder(const std::string& folder, const std::string& name) { return fs::path(folder + name); }

// A message about a file starts with the file as the skin names it, so that
// whoever made or shared the skin can tell which of its files is at fault.
std::string aboutFile(const fs::path& file, std::string_view text) {
  return file.generic_string() + ": " + std::string(text);
}

// A picture the skin names, decoded; the error names the file first.
DecodeResult decodeNamedPicture(const fs::path& named, const fs::path& found) {
  DecodeResult decoded = decodePictureFile(found);
  if (!decoded.ok()) decoded.error = aboutFile(named, decoded.error);
  return decoded;
}

// One skin pass. Each step returns false when it has shown an error and the
// rest of the pass is to be abandoned.
class SkinPass {
 public:
  SkinPass(lcd::ElementModel& model, SkinHost& host, bool fullscreen)
      : model_(model), host_(host), fullscreen_(fullscreen) {
    result_.placeholder = lcd::Picture::placeholder();
  }

  SkinPassResult run() {
    const std::optional<fs::path> config = files::findFileIgnoringCase(host_.configPath());
    if (!config) {
      host_.showError(kConfigMissingMessage);
      host_.requestTermination();
      result_.outcome = SkinPassOutcome::ConfigMissing;
      placeGameMenuButton();
      return result_;
    }
    ini_ = ProfileFile::load(*config);
    configName_ = config->filename();
    const std::string skinDir = ini_.readFolder(kCommon, "SkinDir", "Graphics\\Skin\\");

    host_.setClientHeight(readClientSide("GameHeight", "height", kInitialClientSize.height));
    host_.setClientWidth(readClientSide("GameWidth", "width", kInitialClientSize.width));
    followClientSize();

    const bool laidOut = fullscreen_ ? layOutFullscreen() : layOutWindowed();
    if (!laidOut || !loadSlots(skinDir)) {
      result_.outcome = SkinPassOutcome::Abandoned;
      return result_;
    }
    placeGameMenuButton();
    return result_;
  }

 private:
  // A window side of the skin. One that no window can have (0 or less gives
  // no window at all) is named in a message and the default is used, so the
  // handheld is still shown; the pass goes on.
  int readClientSide(std::string_view key, std::string_view side, int fallback) {
    const int value = ini_.readInteger(kCommon, key, fallback);
    if (value >= 1 && value <= kMaxClientSide) return value;
    const std::string written = ini_.readString(kCommon, key).value_or("");
    host_.showError(aboutFile(configName_, "[" + std::string(kCommon) + "] " + std::string(key) + "=" + written +
                                               " is not a window " + std::string(side) + " from 1 to " +
                                               std::to_string(kMaxClientSide) + " pixels; " +
                                               std::to_string(fallback) + " is used instead."));
    return fallback;
  }

  // The backdrop always covers the whole client area.
  void followClientSize() {
    const Size client = host_.clientSize();
    model_.setBox(lcd::im_backdrop, {0, 0, client.width, client.height});
  }

  // Decodes the file if it exists; nullopt (and no picture) when it does not.
  // A decoding error is shown and abandons the pass.
  bool decodeIfPresent(const fs::path& path, std::optional<lcd::Picture>& picture) {
    picture.reset();
    const std::optional<fs::path> found = files::findFileIgnoringCase(path);
    if (!found) return true;
    DecodeResult decoded = decodeNamedPicture(path, *found);
    if (!decoded.ok()) {
      host_.showError(decoded.error);
      return false;
    }
    picture = std::move(decoded.picture);
    return true;
  }

  bool readColour(std::string_view section, std::string_view key, std::string_view defaultText,
                  Colour& colour) {
    const ColourResult read = ini_.readColour(section, key, defaultText);
    if (!read.colour) {
      host_.showError(aboutFile(configName_, read.error));
      return false;
    }
    colour = *read.colour;
    return true;
  }

  bool layOutWindowed() {
    offsets_ = windowedOffsets();
    Colour key;
    if (!readColour(kVideoMode, "TranspColor", "$00ff00ff", key)) return false;
    host_.setBackgroundColour(key);
    host_.setKeyColour(key);
    host_.setColourKeyEnabled(true);
    model_.hide(lcd::im_backdrop);
    model_.hide(lcd::im_backdrop_logo);
    return true;
  }

  bool layOutFullscreen() {
    const std::string backdropDir = ini_.readFolder(kFullscreen, "BackdropDir", "Graphics\\Backdrops\\");
    if (const auto file = ini_.readFileName(kFullscreen, "BackdropFile", "nil")) {
      std::optional<lcd::Picture> backdrop;
      if (!decodeIfPresent(inFolder(backdropDir, *file), backdrop)) return false;
      if (backdrop) {
        model_.setPicture(lcd::im_backdrop, std::move(*backdrop));
        host_.setBackdropStretch(ini_.readFlag(kFullscreen, "BackdropStretch", false));
        model_.show(lcd::im_backdrop);
      }
    }

    Colour background;
    if (!readColour(kFullscreen, "BgColor", "$00000000", background)) return false;
    host_.setBackgroundColour(background);
    host_.setColourKeyEnabled(false);

    const Size screen = host_.screenSize();
    offsets_ = fullscreenOffsets(ini_.readText(kFullscreen, "GameOffsetX", "Center"),
                                 ini_.readText(kFullscreen, "GameOffsetY", "Center"), screen,
                                 host_.clientSize());

    host_.setClientWidth(screen.width);
    host_.setClientHeight(screen.height);
    followClientSize();

    if (const auto file = ini_.readFileName(kFullscreen, "LogoFile", "nil")) {
      std::optional<lcd::Picture> logo;
      if (!decodeIfPresent(inFolder(backdropDir, *file), logo)) return false;
      if (logo) {
        lcd::Box box = model_[lcd::im_backdrop_logo].box;
        box.width = logo->width();
        box.height = logo->height();
        model_.setPicture(lcd::im_backdrop_logo, std::move(*logo));
        model_.show(lcd::im_backdrop_logo);
        const auto corner = logoPosition(ini_.readInteger(kFullscreen, "LogoPosition", 1),
                                         host_.clientSize(), {box.width, box.height});
        if (corner) {
          box.left = corner->x;
          box.top = corner->y;
        }
        model_.setBox(lcd::im_backdrop_logo, box);
      }
    }
    return true;
  }

  bool loadSlots(const std::string& skinDir) {
    for (int n = 1; n <= kSkinSlotCount; ++n) {
      const ElementId slot = SkinImages[static_cast<std::size_t>(n)];
      const std::string section = "Image" + std::to_string(n);
      if (const auto file = ini_.readFileName(section, "Filename", "")) {
        std::optional<lcd::Picture> picture;
        if (!decodeIfPresent(inFolder(skinDir, *file), picture)) return false;
        model_.setPicture(slot, picture ? std::move(*picture) : result_.placeholder);
      }
      model_.setBox(slot, {offsetBy(ini_.readInteger(section, "Left", 0), offsets_.x),
                           offsetBy(ini_.readInteger(section, "Top", 0), offsets_.y),
                           ini_.readInteger(section, "Width", 0),
                           ini_.readInteger(section, "Height", 0)});
    }
    return true;
  }

  void placeGameMenuButton() {
    model_.setVisible(lcd::btn_game_menu_top, fullscreen_);
    model_.setVisible(lcd::btn_game_menu_background, fullscreen_);
    const lcd::Box closed{0, 0, kGameMenuButtonSize.width, kGameMenuButtonSize.height};
    model_.setBox(lcd::btn_game_menu_background, closed);
    model_.setBox(lcd::btn_game_menu_top, closed);
  }

  lcd::ElementModel& model_;
  SkinHost& host_;
  const bool fullscreen_;
  ProfileFile ini_;
  fs::path configName_;
  GameOffsets offsets_;
  SkinPassResult result_;
};

}  // namespace

void prepareWindowElements(lcd::ElementModel& model) {
  model.setBox(lcd::im_backdrop, {0, 0, kInitialClientSize.width, kInitialClientSize.height});
  model.setBox(lcd::im_backdrop_logo, kInitialLogoBox);
}

SkinPassResult Gfx_Init_Skin(lcd::ElementModel& model, SkinHost& host, bool FullscreenMode) {
  return SkinPass(model, host, FullscreenMode).run();
}

ManualPages Gfx_Init_Manual(const fs::path& configPath) {
  ManualPages manual;
  manual.placeholder = lcd::Picture::placeholder();
  // No existence test: a missing file reads as all defaults.
  const std::optional<fs::path> found = files::findFileIgnoringCase(configPath);
  const ProfileFile ini = found ? ProfileFile::load(*found) : ProfileFile{};
  const std::string dir = ini.readFolder(kManual, "ManualDir", "Graphics\\Manual\\");
  manual.clientSize.height = ini.readInteger(kManual, "ManualHeight", 380);
  manual.clientSize.width = ini.readInteger(kManual, "ManualWidth", 630);

  for (int n = 1; n <= static_cast<int>(manual.pages.size()); ++n) {
    ManualPage& page = manual.pages[static_cast<std::size_t>(n - 1)];
    page.named = inFolder(dir, std::to_string(n) + ".bmp");
    const std::optional<fs::path> file = files::findFileIgnoringCase(page.named);
    if (!file) {
      page.source = ManualPage::Source::Placeholder;
      continue;
    }
    if (const std::optional<std::string> refusal = checkBmpFile(*file)) {
      manual.error = aboutFile(page.named, *refusal);
      break;
    }
    page.source = ManualPage::Source::File;
    page.found = *file;
  }
  return manual;
}

ShownManualPage ManualPages::pageToShow(int n) {
  ManualPage& shown = pages.at(static_cast<std::size_t>(n - 1));
  switch (shown.source) {
    case ManualPage::Source::None: return {};
    case ManualPage::Source::Placeholder: return {placeholder, {}};
    case ManualPage::Source::File: break;
  }
  DecodeResult decoded = decodeNamedPicture(shown.named, shown.found);
  if (decoded.ok()) return {std::move(decoded.picture), {}};
  shown.source = ManualPage::Source::Placeholder;
  return {placeholder, std::move(decoded.error)};
}

}  // namespace mk::skin
