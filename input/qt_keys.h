#pragma once

#include <Qt>
#include <QtGlobal>
#include <bitset>
#include <functional>
#include <cstdint>
#include <vector>

class QKeyEvent;
class QTimer;

namespace mk::input {

// The Windows virtual-key number of a key, or 0 for a key the program has no
// use for. Covers the 44 bindable keys, Enter/Return (13), Escape (27) and
// F1..F12 (112..123).
//
// - Letters give 65..90 with or without Shift. On a layout without Latin
//   letters the key's position on a US keyboard decides, as Windows does.
// - The digit row gives 48..57 also with Shift held (Shift+1 is still the 1
//   key) and on layouts whose digits need Shift: the key's position decides.
// - Keypad digits give the Windows keypad codes 96..105, which are none of
//   the 44 keys: a binding to the 1 key means the 1 of the main row only.
//   Keypad arrows (Num Lock off) are the arrow keys.
// - Both Alt keys give 18, both Ctrl keys 17, both Shift keys 16.
//
// nativeScanCode is the X11/evdev key code (digit row 10..19) that Qt reports
// on Linux; 0 when unknown.
std::uint16_t windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);
std::uint16_t windowsKeyCode(const QKeyEvent& event);

// Turns the key events of a window into presses and releases for the game:
// a held key delivers further presses (marked as repeats) but exactly one
// release, and a release is passed on only for a key that is down.
//
// X11 sends auto-repeat as release/press pairs with one timestamp. Qt marks
// them with isAutoRepeat() only when the press has already reached it as the
// release is handled, which often fails. So, given a releaseLater callback,
// the filter holds each release back for a moment (ReleaseTiming::WaitForRepeat,
// the default on X11): a press of the same key with the same timestamp makes
// it a repeat; otherwise releaseLater(code) is called, from the event loop,
// about 30 ms after the key went up.
class KeyRepeatFilter {
 public:
  enum class Pass { Nothing, Press, RepeatPress, Release };
  enum class ReleaseTiming { PlatformDefault, Immediate, WaitForRepeat };
  static constexpr int kRepeatWindowMs = 30;

  explicit KeyRepeatFilter(std::function<void(std::uint16_t code)> releaseLater = {},
                           ReleaseTiming timing = ReleaseTiming::PlatformDefault);
  ~KeyRepeatFilter();
  KeyRepeatFilter(const KeyRepeatFilter&) = delete;
  KeyRepeatFilter& operator=(const KeyRepeatFilter&) = delete;

  // A press of a held key is a repeat. An auto-repeated press of a key not
  // seen going down (it went down while another window had the keyboard,
  // say the Escape that closed a dialog) is a repeat too, also when only its
  // timestamp, shared with the release before it, shows it; the key counts
  // as held from then on. Commands such as menu shortcuts should act on
  // Press only; the handheld's buttons take repeats like presses.
  Pass press(std::uint16_t code, bool autoRepeat = false, quint64 timestamp = 0);
  // Release, or Nothing when the release is dropped or held back.
  Pass release(std::uint16_t code, bool autoRepeat, quint64 timestamp = 0);

  struct Result {
    std::uint16_t code = 0;
    Pass pass = Pass::Nothing;
  };
  // For KeyPress and KeyRelease events; Nothing for any other event.
  Result filter(const QKeyEvent& event);

  bool isHeld(std::uint16_t code) const { return code < held_.size() && held_[code]; }
  bool waitsForRepeat() const { return timer_ != nullptr; }

  // Passes on the releases held back so far, now.
  void flushPendingReleases();

  // Forgets every held key (held-back releases included, without calling
  // releaseLater) and returns them, lowest code first, so a window that
  // loses the keyboard can pass on the releases it will never see.
  std::vector<std::uint16_t> releaseAll();

 private:
  void deliverPending(std::uint16_t code);

  std::bitset<256> held_;
  std::function<void(std::uint16_t)> releaseLater_;
  QTimer* timer_ = nullptr;  // only when waiting for repeats
  struct PendingRelease {
    std::uint16_t code;
    quint64 timestamp;
  };
  std::vector<PendingRelease> pending_;
  PendingRelease lastDropped_{0, 0};  // release of a key this window never saw go down
};

}  // namespace mk::input
