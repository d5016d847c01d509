#pragma once

#include <filesystem>
#include <string_view>

#include "skin/profile.h"

namespace mk::skin {

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// The main window as the program creates it, before any skin pass.
inline constexpr Size kInitialClientSize{611, 322};
// The largest client side a skin may ask for, in the skin's own pixels: a
// larger window would only exhaust memory for its surface; no screen shows it.
inline constexpr int kMaxClientSide = 8192;
inline constexpr Colour kInitialBackground{255, 255, 255};
inline constexpr Colour kInitialKeyColour{255, 255, 255};
inline constexpr bool kInitialColourKeyOn = true;

// What the skin loader needs of the window it dresses. The main window
// implements it; the headless skin report and the tests use their own.
// The loader sets the picture elements in the element model directly; this
// interface covers only what belongs to the window itself.
class SkinHost {
 public:
  virtual ~SkinHost() = default;
  // Config.ini in the folder of the program's executable.
  virtual std::filesystem::path configPath() = 0;
  // The primary screen, in pixels.
  virtual Size screenSize() = 0;
  virtual Size clientSize() = 0;
  virtual void setClientHeight(int height) = 0;
  virtual void setClientWidth(int width) = 0;
  virtual void setBackgroundColour(Colour colour) = 0;
  // The key colour is kept while the key is off, so switching it back on
  // needs no colour.
  virtual void setKeyColour(Colour colour) = 0;
  // When on, every window pixel of exactly the key colour is see-through.
  virtual void setColourKeyEnabled(bool on) = 0;
  // The full-screen backdrop: stretched to the client area, or centred in it.
  virtual void setBackdropStretch(bool stretch) = 0;
  // A modal message box titled "Error" with one OK button.
  virtual void showError(std::string_view text) = 0;
  // Ends the event loop once the current handler has returned.
  virtual void requestTermination() = 0;
};

}  // namespace mk::skin
