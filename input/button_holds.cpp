#include "input/button_holds.h"

#include <algorithm>

namespace mk::input {

void ButtonHolds::press(Button button, InputSource source) {
  std::vector<InputSource>& list = holders(button);
  if (std::find(list.begin(), list.end(), source) == list.end()) list.push_back(source);
}

bool ButtonHolds::release(Button button, InputSource source) {
  std::vector<InputSource>& list = holders(button);
  const auto it = std::find(list.begin(), list.end(), source);
  if (it == list.end()) return false;
  list.erase(it);
  return list.empty();
}

}  // namespace mk::input
