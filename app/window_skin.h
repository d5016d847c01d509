#pragma once

#include <QRegion>
#include <QWidget>

#include "app/canvas.h"
#include "app/shell_environment.h"
#include "lcd/element_model.h"
#include "skin/gfxinit.h"
#include "skin/layout.h"
#include "skin/skin_host.h"

namespace mk::app {

// The main window as the skin loader dresses it (size, colours, backdrop),
// and the window shape that keeps the key colour see-through on the desktop
// while segments light and darken.
class WindowSkin final : public skin::SkinHost {
 public:
  WindowSkin(QWidget& window, Canvas& canvas, lcd::ElementModel& model, const ShellEnvironment& environment);

  // One skin pass for the presentation, then the whole shape made anew.
  skin::SkinPassResult load(bool fullscreen);

  // The shape of the windowed presentation (empty: none, in full screen).
  const QRegion& shape() const { return shape_; }
  bool colourKeyEnabled() const { return colourKeyOn_; }
  skin::Colour keyColour() const { return keyColour_; }

  // A part of the picture went stale: its shape is redone there once the
  // event loop runs, whatever else goes stale meanwhile.
  void reshapeStale(const QRegion& stale);

  // The screen the window is on (the primary one until it has been shown),
  // in desktop coordinates.
  skin::ScreenArea screenArea() const;

  // SkinHost
  std::filesystem::path configPath() override { return environment_.configPath; }
  skin::Size screenSize() override;
  skin::Size clientSize() override;
  void setClientHeight(int height) override;
  void setClientWidth(int width) override;
  void setBackgroundColour(skin::Colour colour) override;
  void setKeyColour(skin::Colour colour) override { keyColour_ = colour; }
  void setColourKeyEnabled(bool on) override { colourKeyOn_ = on; }
  void setBackdropStretch(bool stretch) override;
  void showError(std::string_view text) override { environment_.showError(text); }
  void requestTermination() override { environment_.requestTermination(); }

 private:
  void refreshShape();
  void reshapeNow();
  void applyShape(const QRegion& shape);

  QWidget& window_;
  Canvas& canvas_;
  lcd::ElementModel& model_;
  const ShellEnvironment& environment_;
  skin::Colour keyColour_ = skin::kInitialKeyColour;
  bool colourKeyOn_ = skin::kInitialColourKeyOn;
  QRegion shape_;
  bool shapeQueued_ = false;
  QRegion staleShape_;
};

}  // namespace mk::app
