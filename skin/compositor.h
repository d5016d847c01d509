#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>

#include "lcd/element_model.h"
#include "skin/skin_host.h"

class QPainter;

namespace mk::skin {

// A QImage over the picture's own pixels, no copy: the pixels a transparent
// element draws when `transparent`, the decoded ones otherwise. Valid while
// the picture lives. Null for an empty picture.
QImage imageView(const lcd::Picture& picture, bool transparent);

// The box as Qt's rectangle, clamped first (drawableBox): every rectangle the
// window computes with is made here.
QRect toRect(const lcd::Box& box);

// Paints the element model the way the main window shows it: the window's
// background colour, then every visible element in stacking order, each
// picture unscaled from its box's top-left corner and clipped to the box.
// The full-screen backdrop alone is centred in its box, or stretched to it.
class Compositor {
 public:
  void setBackground(QColor colour) { background_ = colour; }
  QColor background() const { return background_; }
  void setBackdropStretch(bool stretch) { backdropStretch_ = stretch; }
  bool backdropStretch() const { return backdropStretch_; }

  // Paints only `area` (client coordinates); the painter's pixels outside it
  // are left as they were.
  void paint(QPainter& painter, const lcd::ElementModel& model, const QRegion& area);
  void paint(QPainter& painter, const lcd::ElementModel& model, const QRect& area);

 private:
  void paintElement(QPainter& painter, const lcd::ElementModel& model, lcd::ElementId id,
                    const QRect& area);
  const QImage& stretchedBackdrop(const lcd::Picture& picture, const QSize& size);

  QColor background_ = Qt::white;
  bool backdropStretch_ = false;

  // Scaling a screen-sized backdrop is slow; the last result is kept for as
  // long as the backdrop's picture and size stay the same.
  lcd::Picture stretchedFrom_;
  QImage stretched_;
};

// What a picture of the whole face needs beyond the element model.
struct FaceLook {
  Size client = kInitialClientSize;
  Colour background = kInitialBackground;
  bool backdropStretch = false;
};

// The whole client area composed as the window shows it; a null image for a
// client area larger than kMaxFaceSide either way, or empty.
inline constexpr int kMaxFaceSide = 16384;
QImage composeFace(const lcd::ElementModel& model, const FaceLook& look);

// Collects the parts of the client area that an element change has made
// stale: the box of an element shown or hidden, of a visible element whose
// picture changed, and both boxes of a visible element that moved.
class DirtyRegionTracker : public lcd::ElementObserver {
 public:
  explicit DirtyRegionTracker(lcd::ElementModel& model);
  ~DirtyRegionTracker() override;
  DirtyRegionTracker(const DirtyRegionTracker&) = delete;
  DirtyRegionTracker& operator=(const DirtyRegionTracker&) = delete;

  void visibilityChanged(lcd::ElementId id, bool visible) override;
  void pictureChanged(lcd::ElementId id) override;
  void boxChanged(lcd::ElementId id, const lcd::Box& before) override;

  // For changes the model does not see (window background, backdrop mode).
  void add(const QRect& rect) { dirty_ += rect; }
  bool isEmpty() const { return dirty_.isEmpty(); }
  QRegion take();

 private:
  lcd::ElementModel& model_;
  QRegion dirty_;
};

}  // namespace mk::skin
