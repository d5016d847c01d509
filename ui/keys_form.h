#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "input/key_bindings.h"
#include "settings/settings_store.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace mk::ui {

// The key settings dialog: one list of the 44 keys per handheld button,
// accept refused while two lists share a key. Created once (after the main
// window has loaded the bindings) and shown by open(); accept stores
// "Key1".."Key4", reassigns the bindings and calls bindingsChanged (the main
// window rebuilds its hints there); accept and Escape enable the main window
// again and hide the dialog. The bindings, store and main window must
// outlive it. It is a window of its own, not a child of the main window,
// which it disables while open.
class TKeysForm : public QWidget {
 public:
  TKeysForm(input::KeyBindings& bindings, settings::SettingsStore& store, QWidget* mainWindow,
            std::function<void()> bindingsChanged);

  // The "Key settings" command: centre on the screen, show (not modal) and
  // disable the main window until accept or Escape.
  void open();

  // True when two or more lists show the same key; their captions turn red,
  // every other caption white.
  bool CheckKeys();
  void cbChange();
  void btn_acceptClick();
  // Enter (13) accepts when accept is enabled; Escape (27) leaves without
  // storing. True when the key was taken.
  bool FormKeyDown(std::uint16_t key);

  QLabel* la_main = nullptr;
  QLabel* la_controls = nullptr;
  QComboBox* cb_1 = nullptr;
  QLabel* la_1 = nullptr;
  QComboBox* cb_2 = nullptr;
  QLabel* la_2 = nullptr;
  QLabel* la_4 = nullptr;
  QComboBox* cb_3 = nullptr;
  QLabel* la_3 = nullptr;
  QComboBox* cb_4 = nullptr;
  QPushButton* btn_accept = nullptr;

  // In binding order 1..4: the lists, and the caption beside each.
  std::array<QComboBox*, input::kBindingCount> lists() const { return {cb_1, cb_2, cb_3, cb_4}; }
  std::array<QLabel*, input::kBindingCount> captions() const { return {la_1, la_2, la_4, la_3}; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void FormActivate();
  void leave();

  input::KeyBindings& bindings_;
  settings::SettingsStore& store_;
  QWidget* mainWindow_;
  std::function<void()> bindingsChanged_;
};

}  // namespace mk::ui
