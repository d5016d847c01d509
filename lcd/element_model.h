#pragma once

#include <array>
#include <optional>
#include <vector>

#include "lcd/elements.h"
#include "lcd/picture.h"

namespace mk::lcd {

// Client-area pixels of the main window.
struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

struct Element {
  Picture picture;
  Box box;
  bool visible = false;
  bool transparent = false;
};

// Told of every change that alters what the window shows. Called after the
// change is made, only when something actually changed.
class ElementObserver {
 public:
  virtual ~ElementObserver() = default;
  virtual void visibilityChanged(ElementId, bool /*visible*/) {}
  virtual void pictureChanged(ElementId) {}
  virtual void boxChanged(ElementId, const Box& /*before*/) {}
  // A digit position took a new glyph (0..9) or was blanked (nullopt).
  virtual void digitChanged(int /*position 1..4*/, std::optional<int> /*glyph*/) {}
};

// The picture elements of the main window: the handheld's face, its buttons and
// every LCD segment. The visible flags of the segments are the playfield's state.
class ElementModel {
 public:
  ElementModel();

  const Element& operator[](ElementId id) const { return elements_[index(id)]; }

  bool isVisible(ElementId id) const { return elements_[index(id)].visible; }
  void setVisible(ElementId id, bool visible);
  void show(ElementId id) { setVisible(id, true); }
  void hide(ElementId id) { setVisible(id, false); }

  void setPicture(ElementId id, Picture picture);
  void setBox(ElementId id, const Box& box);

  // Digit positions 1..4 hold a copy of a glyph's picture, or nothing when blank.
  void setDigit(int position, std::optional<int> glyph);
  std::optional<int> digit(int position) const { return digits_.at(position - 1); }

  void addObserver(ElementObserver* observer) { observers_.push_back(observer); }
  void removeObserver(ElementObserver* observer);

 private:
  std::array<Element, kElementCount> elements_;
  std::array<std::optional<int>, 4> digits_{};
  std::vector<ElementObserver*> observers_;
};

}  // namespace mk::lcd
