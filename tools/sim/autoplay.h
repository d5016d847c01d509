#pragma once

#include <cstdint>
#include <optional>

#include "engine/engine.h"
#include "lcd/element_model.h"

namespace mk::sim {

// A player for LEFT and RIGHT that knows only what the LCD shows. It goes
// for an item on its last step first (missed at the next tick otherwise),
// then for an enemy within reach of the weapon, then waits under the item
// nearest its end. It presses and releases like a hand would, with a short
// reaction, hold and gap, and it never starts a game.
class AutoPlayer {
 public:
  static constexpr std::int64_t kReactionMs = 10;
  static constexpr std::int64_t kHoldMs = 25;
  static constexpr std::int64_t kGapMs = 10;

  AutoPlayer(engine::Engine& engine, const lcd::ElementModel& display) : engine_(engine), display_(display) {}

  // When the player means to act next (press or release), if at all.
  std::optional<std::int64_t> wakeAt() const { return wakeAt_; }
  // Acts at its wake time, as input does: before the timers due then.
  void wake(std::int64_t now);
  // Looks at the display once everything at `now` has happened.
  void observe(std::int64_t now);

  // The lane the player wants the hero in; 0 when not playing.
  int targetLane() const;
  int heroLane() const;

 private:
  enum class Held { None, Left, Right };

  bool lit(lcd::ElementId id) const { return display_.isVisible(id); }
  bool playing() const;
  bool heroHeld() const;

  engine::Engine& engine_;
  const lcd::ElementModel& display_;
  Held held_ = Held::None;
  std::optional<std::int64_t> wakeAt_;
  std::int64_t readyAt_ = 0;
};

}  // namespace mk::sim
