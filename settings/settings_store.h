#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace mk::settings {

// The per-user store of named text values. Integers are kept as signed
// decimal text, booleans as "1" or "0". Each write reaches the store before
// the call returns; there is no save step.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The default when the value is absent or its text is not a whole number.
  virtual int readInt(std::string_view name, int defaultValue) = 0;
  // Read as an integer with default 1 or 0; any non-zero number is true.
  virtual bool readBool(std::string_view name, bool defaultValue) {
    return readInt(name, defaultValue ? 1 : 0) != 0;
  }
  virtual void writeInt(std::string_view name, int value) = 0;
  virtual void writeBool(std::string_view name, bool value) { writeInt(name, value ? 1 : 0); }
  // Several values that belong together, stored in one write where the
  // store can, so an interruption never leaves some of them old.
  using Entry = std::pair<std::string_view, int>;
  virtual void writeInts(std::span<const Entry> entries) {
    for (const auto& [name, value] : entries) writeInt(name, value);
  }
  // Told, once each, what the player must know of the store: that values
  // cannot be saved, or a file that was put aside. Messages found before a
  // reporter is set are passed on when it is.
  virtual void setNoticeReporter(std::function<void(std::string_view)> reporter) { (void)reporter; }
};

// Parses the stored text of an integer value: optional sign and decimal
// digits only, within 32 bits. Anything else is not a number.
bool parseStoredInt(std::string_view text, int& value);

// A store kept in memory: for the headless simulator and for tests.
class MemorySettingsStore : public SettingsStore {
 public:
  int readInt(std::string_view name, int defaultValue) override;
  void writeInt(std::string_view name, int value) override;
  void setText(std::string_view name, std::string text) { values_[std::string(name)] = std::move(text); }
  const std::map<std::string, std::string, std::less<>>& values() const { return values_; }

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

// The player's store seen through a layer in memory: reads find what was
// written here first, then the player's values; writes stay here. A game
// played back from a recording must leave the player's keys and scores as
// they were.
class OverlaySettingsStore final : public SettingsStore {
 public:
  explicit OverlaySettingsStore(SettingsStore& under) : under_(under) {}
  int readInt(std::string_view name, int defaultValue) override {
    const auto found = written_.values().find(name);
    if (found == written_.values().end()) return under_.readInt(name, defaultValue);
    return written_.readInt(name, defaultValue);
  }
  void writeInt(std::string_view name, int value) override { written_.writeInt(name, value); }
  void setNoticeReporter(std::function<void(std::string_view)> reporter) override {
    under_.setNoticeReporter(std::move(reporter));
  }

 private:
  SettingsStore& under_;
  MemorySettingsStore written_;
};

}  // namespace mk::settings
