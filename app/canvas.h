#pragma once

#include <QWidget>

#include <functional>

#include "lcd/element_model.h"
#include "skin/compositor.h"

namespace mk::app {

// The one surface of the main window: paints the element model with the
// shared compositor and repaints only the boxes that changed. It decides
// nothing; the mouse passes through it to the window.
class Canvas final : public QWidget, private lcd::ElementObserver {
 public:
  Canvas(lcd::ElementModel& model, QWidget* parent);
  ~Canvas() override;

  skin::Compositor& compositor() { return compositor_; }

  // For window-side changes the model does not report (background colour,
  // backdrop placement).
  void invalidate(const QRect& rect);
  void invalidateAll() { invalidate(rect()); }

  // Told of every stale region before it is scheduled for repaint, so the
  // window can keep its see-through shape in step with the picture.
  void setStaleObserver(std::function<void(const QRegion&)> observer) { staleObserver_ = std::move(observer); }

  // Told after each paint; for measurements only.
  void setPaintedObserver(std::function<void()> observer) { paintedObserver_ = std::move(observer); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void visibilityChanged(lcd::ElementId, bool) override { flush(); }
  void pictureChanged(lcd::ElementId) override { flush(); }
  void boxChanged(lcd::ElementId, const lcd::Box&) override { flush(); }
  void flush();

  lcd::ElementModel& model_;
  skin::Compositor compositor_;
  // Registered with the model before the canvas itself, so it has collected
  // a change by the time the canvas hears of it.
  skin::DirtyRegionTracker tracker_;
  std::function<void(const QRegion&)> staleObserver_;
  std::function<void()> paintedObserver_;
};

}  // namespace mk::app
