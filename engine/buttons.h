#pragma once

#include <array>

namespace mk::engine {

// The four working buttons of the handheld, numbered as their key bindings
// (TIME is binding 1). ALARM is drawn but does nothing, so it has no entry.
enum class Button { Time = 1, Acl = 2, Left = 3, Right = 4 };

inline constexpr std::array kButtons{Button::Time, Button::Acl, Button::Left, Button::Right};

}  // namespace mk::engine
