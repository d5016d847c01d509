#include "skin/compositor.h"

#include <QPainter>
#include <utility>

#include "skin/layout.h"

namespace mk::skin {
using lcd::ElementId;

QImage imageView(const lcd::Picture& picture, bool transparent) {
  if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return {};
  const std::uint32_t* pixels = transparent ? picture.transparentPixels() : picture.pixels();
  // The const-data constructor never writes to or frees the pixels.
  return QImage(reinterpret_cast<const uchar*>(pixels), picture.width(), picture.height(),
                static_cast<qsizetype>(picture.width()) * 4, QImage::Format_ARGB32_Premultiplied);
}

QRect toRect(const lcd::Box& box) {
  const lcd::Box b = drawableBox(box);
  return QRect(b.left, b.top, b.width, b.height);
}

void Compositor::paint(QPainter& painter, const lcd::ElementModel& model, const QRegion& area) {
  for (const QRect& rect : area) paint(painter, model, rect);
}

void Compositor::paint(QPainter& painter, const lcd::ElementModel& model, const QRect& area) {
  if (area.isEmpty()) return;
  painter.fillRect(area, background_);
  for (std::size_t i = 0; i < lcd::kElementCount; ++i) {
    paintElement(painter, model, static_cast<ElementId>(i), area);
  }
}

void Compositor::paintElement(QPainter& painter, const lcd::ElementModel& model, ElementId id,
                              const QRect& area) {
  const lcd::Element& element = model[id];
  if (!element.visible || element.picture.isNull()) return;
  const QRect box = toRect(element.box);
  const QRect clip = box.intersected(area);
  if (clip.isEmpty()) return;

  QImage image;
  QPoint origin = box.topLeft();
  if (id == ElementId::im_backdrop) {
    if (backdropStretch_) {
      image = stretchedBackdrop(element.picture, box.size());
    } else {
      image = imageView(element.picture, element.transparent);
      const lcd::Box placed = backdropPlacement({box.width(), box.height()},
                                                {image.width(), image.height()}, /*stretch=*/false);
      origin += QPoint(placed.left, placed.top);
    }
  } else {
    image = imageView(element.picture, element.transparent);
  }
  if (image.isNull()) return;

  // Drawing only the source rectangle that lands inside the clip keeps the
  // painter's own clip state untouched.
  const QRect target = clip.intersected(QRect(origin, image.size()));
  if (target.isEmpty()) return;
  painter.drawImage(target.topLeft(), image, target.translated(-origin));
}

const QImage& Compositor::stretchedBackdrop(const lcd::Picture& picture, const QSize& size) {
  if (!stretchedFrom_.sharesDataWith(picture) || stretched_.size() != size) {
    stretchedFrom_ = picture;
    stretched_ = imageView(picture, false).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return stretched_;
}

QImage composeFace(const lcd::ElementModel& model, const FaceLook& look) {
  const Size c = look.client;
  if (c.width <= 0 || c.height <= 0 || c.width > kMaxFaceSide || c.height > kMaxFaceSide) return {};
  QImage image(c.width, c.height, QImage::Format_ARGB32_Premultiplied);
  Compositor compositor;
  compositor.setBackground(QColor(look.background.red, look.background.green, look.background.blue));
  compositor.setBackdropStretch(look.backdropStretch);
  {
    QPainter painter(&image);
    compositor.paint(painter, model, image.rect());
  }
  // The background is opaque, so the alpha channel holds nothing worth keeping.
  return image.convertToFormat(QImage::Format_RGB32);
}

DirtyRegionTracker::DirtyRegionTracker(lcd::ElementModel& model) : model_(model) {
  model_.addObserver(this);
}

DirtyRegionTracker::~DirtyRegionTracker() { model_.removeObserver(this); }

void DirtyRegionTracker::visibilityChanged(ElementId id, bool /*visible*/) {
  if (!model_[id].picture.isNull()) dirty_ += toRect(model_[id].box);
}

void DirtyRegionTracker::pictureChanged(ElementId id) {
  // A hidden element drew nothing before and draws nothing now.
  if (model_.isVisible(id)) dirty_ += toRect(model_[id].box);
}

void DirtyRegionTracker::boxChanged(ElementId id, const lcd::Box& before) {
  if (!model_.isVisible(id) || model_[id].picture.isNull()) return;
  dirty_ += toRect(before);
  dirty_ += toRect(model_[id].box);
}

QRegion DirtyRegionTracker::take() { return std::exchange(dirty_, QRegion()); }

}  // namespace mk::skin
