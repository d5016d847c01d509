#include "input/qt_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "input/key_table.h"

namespace mk::input {

namespace {

// evdev + 8, the key codes X11 and Wayland report: the digit row 1..9, 0 and
// the letter rows of a US keyboard.
constexpr quint32 kScanDigit1 = 10;
constexpr quint32 kScanDigit0 = 19;
struct LetterRow {
  quint32 firstScanCode;
  std::string_view letters;
};
constexpr std::array<LetterRow, 3> kLetterRows{{{24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}}};

std::uint16_t fromScanCode(quint32 scanCode) {
#if defined(Q_OS_LINUX)
  if (scanCode >= kScanDigit1 && scanCode <= kScanDigit0)
    return scanCode == kScanDigit0 ? vk::kDigit0 : static_cast<std::uint16_t>(vk::kDigit0 + scanCode - 9);
  for (const LetterRow& row : kLetterRows)
    if (scanCode >= row.firstScanCode && scanCode < row.firstScanCode + row.letters.size())
      return static_cast<std::uint16_t>(row.letters[scanCode - row.firstScanCode]);
#else
  (void)scanCode;
#endif
  return 0;
}

}  // namespace

std::uint16_t windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<std::uint16_t>(vk::kLetterA + qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    const int digit = qtKey - Qt::Key_0;
    return static_cast<std::uint16_t>((modifiers & Qt::KeypadModifier) ? vk::kNumpad0 + digit : vk::kDigit0 + digit);
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return static_cast<std::uint16_t>(vk::kF1 + qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Up: return vk::kUp;
    case Qt::Key_Down: return vk::kDown;
    case Qt::Key_Left: return vk::kLeft;
    case Qt::Key_Right: return vk::kRight;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return vk::kAlt;
    case Qt::Key_Control: return vk::kControl;
    case Qt::Key_Shift: return vk::kShift;
    case Qt::Key_Space: return vk::kSpace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::kReturn;
    case Qt::Key_Escape: return vk::kEscape;
    default: break;
  }
  // A shifted digit ('!'), a digit that needs Shift on this layout, or a
  // letter of a non-Latin layout: the key's position names it. Keypad keys
  // have other scan codes, so this never turns them into digits.
  return fromScanCode(nativeScanCode);
}

std::uint16_t windowsKeyCode(const QKeyEvent& event) {
  return windowsKeyCode(event.key(), event.modifiers(), event.nativeScanCode());
}

KeyRepeatFilter::KeyRepeatFilter(std::function<void(std::uint16_t)> releaseLater, ReleaseTiming timing)
    : releaseLater_(std::move(releaseLater)) {
  if (timing == ReleaseTiming::PlatformDefault)
    timing = QGuiApplication::platformName() == QLatin1String("xcb") ? ReleaseTiming::WaitForRepeat
                                                                       : ReleaseTiming::Immediate;
  if (timing != ReleaseTiming::WaitForRepeat || !releaseLater_) return;
  timer_ = new QTimer;
  timer_->setSingleShot(true);
  timer_->setInterval(kRepeatWindowMs);
  QObject::connect(timer_, &QTimer::timeout, timer_, [this] { flushPendingReleases(); });
}

KeyRepeatFilter::~KeyRepeatFilter() { delete timer_; }

KeyRepeatFilter::Pass KeyRepeatFilter::press(std::uint16_t code, bool autoRepeat, quint64 timestamp) {
  if (code == 0 || code >= held_.size()) return Pass::Nothing;
  const auto waiting = std::find_if(pending_.begin(), pending_.end(),
                                    [code](const PendingRelease& p) { return p.code == code; });
  if (waiting != pending_.end()) {
    if (autoRepeat || waiting->timestamp == timestamp) {
      pending_.erase(waiting);  // the release was half of an auto-repeat pair
      return Pass::RepeatPress;
    }
    deliverPending(code);  // really let go and pressed again
  }
  if (held_[code]) return Pass::RepeatPress;
  held_[code] = true;
  const bool pairedWithDroppedRelease =
      timestamp != 0 && lastDropped_.code == code && lastDropped_.timestamp == timestamp;
  return autoRepeat || pairedWithDroppedRelease ? Pass::RepeatPress : Pass::Press;
}

KeyRepeatFilter::Pass KeyRepeatFilter::release(std::uint16_t code, bool autoRepeat, quint64 timestamp) {
  if (code == 0 || code >= held_.size()) return Pass::Nothing;
  if (!held_[code]) {
    lastDropped_ = {code, timestamp};
    return Pass::Nothing;
  }
  if (autoRepeat) return Pass::Nothing;
  if (timer_) {
    for (const PendingRelease& p : pending_)
      if (p.code == code) return Pass::Nothing;
    pending_.push_back({code, timestamp});
    timer_->start();
    return Pass::Nothing;
  }
  held_[code] = false;
  return Pass::Release;
}

void KeyRepeatFilter::deliverPending(std::uint16_t code) {
  std::erase_if(pending_, [code](const PendingRelease& p) { return p.code == code; });
  held_[code] = false;
  releaseLater_(code);
}

void KeyRepeatFilter::flushPendingReleases() {
  if (timer_) timer_->stop();
  // A release handler may press or release keys itself: take one at a time.
  while (!pending_.empty()) deliverPending(pending_.front().code);
}

KeyRepeatFilter::Result KeyRepeatFilter::filter(const QKeyEvent& event) {
  const std::uint16_t code = windowsKeyCode(event);
  if (event.type() == QEvent::KeyPress) return {code, press(code, event.isAutoRepeat(), event.timestamp())};
  if (event.type() == QEvent::KeyRelease) return {code, release(code, event.isAutoRepeat(), event.timestamp())};
  return {code, Pass::Nothing};
}

std::vector<std::uint16_t> KeyRepeatFilter::releaseAll() {
  if (timer_) timer_->stop();
  pending_.clear();
  std::vector<std::uint16_t> codes;
  for (std::size_t code = 0; code < held_.size(); ++code)
    if (held_[code]) codes.push_back(static_cast<std::uint16_t>(code));
  held_.reset();
  return codes;
}

}  // namespace mk::input
