#include "lcd/element_model.h"

#include <algorithm>
#include <cassert>

#include "lcd/segment_tables.h"

namespace mk::lcd {

ElementModel::ElementModel() {
  for (std::size_t i = 0; i < kElementCount; ++i) {
    elements_[i].transparent = kElementInfo[i].transparent;
    elements_[i].visible = kElementInfo[i].initiallyVisible;
  }
}

void ElementModel::setVisible(ElementId id, bool visible) {
  Element& e = elements_[index(id)];
  if (e.visible == visible) return;
  e.visible = visible;
  for (auto* o : observers_) o->visibilityChanged(id, visible);
}

void ElementModel::setPicture(ElementId id, Picture picture) {
  Element& e = elements_[index(id)];
  if (e.picture.sharesDataWith(picture)) return;
  e.picture = std::move(picture);
  for (auto* o : observers_) o->pictureChanged(id);
}

void ElementModel::setBox(ElementId id, const Box& box) {
  Element& e = elements_[index(id)];
  if (e.box == box) return;
  const Box before = e.box;
  e.box = box;
  for (auto* o : observers_) o->boxChanged(id, before);
}

void ElementModel::setDigit(int position, std::optional<int> glyph) {
  assert(position >= 1 && position <= 4);
  assert(!glyph || (*glyph >= 0 && *glyph <= 9));
  const ElementId id = PanelDigits[position];
  setPicture(id, glyph ? elements_[index(PanelNumbers[*glyph])].picture : Picture{});
  auto& current = digits_[position - 1];
  if (current == glyph) return;
  current = glyph;
  for (auto* o : observers_) o->digitChanged(position, glyph);
}

void ElementModel::removeObserver(ElementObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

}  // namespace mk::lcd
