#pragma once

#include <QPoint>
#include <QRegion>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "app/canvas.h"
#include "app/local_clock.h"
#include "app/pointer_targets.h"
#include "app/qt_timers.h"
#include "engine/engine.h"
#include "input/key_bindings.h"
#include "input/keys_form.h"
#include "input/qt_keys.h"
#include "lcd/element_model.h"
#include "settings/settings_store.h"
#include "skin/manual_form.h"
#include "skin/skin_host.h"
#include "sound/audio_layer.h"
#include "sound/sound_output.h"
#include "ui/about_form.h"
#include "ui/menus.h"
#include "ui/splash_form.h"

namespace mk::app {

inline constexpr const char* kApplicationTitle = "Marsh Keeper (Vexora, Slimline) Simulator";

// What the main window takes from outside; tests replace parts of it.
struct Form1Environment {
  std::function<std::unique_ptr<settings::SettingsStore>()> openStore;  // the per-user store
  std::filesystem::path configPath;                                     // empty: beside the executable
  std::function<std::unique_ptr<sound::AudioLayer>()> makeAudio;       // empty: SDL2_mixer
  std::function<void(std::string_view)> showError;  // empty: a modal message box
  std::function<void()> requestTermination;         // empty: quit once the loop runs
  std::function<void(const QUrl&)> openUrl;         // empty: the desktop's "open"
};

// The main window: the handheld's face on one canvas, its buttons and keys,
// the eight timers, the presentation (see-through window or full screen),
// and the program's start-up and close. The rules of the game live in the
// engine; this window only turns mouse and keys into its input operations.
class TForm1 final : public QWidget, public skin::SkinHost, public ui::SplashHost, public ui::MenuCommands {
  Q_OBJECT
 public:
  explicit TForm1(Form1Environment environment = {});
  ~TForm1() override;

  void FormCreate();
  void FormActivate();
  void FormClose();

  // Inverts the presentation, stores it and lays the window out afresh.
  void switchPresentation();
  // (screen − window) / 2; with clampToScreen never above or left of the edge.
  void centreOnScreen(bool clampToScreen);

  bool FullscreenMode = true;
  bool gameMenuOpen() const { return gameMenu_->GameMenuOpen; }
  ui::GameMenu& gameMenu() { return *gameMenu_; }
  ui::PopupMenu& popupMenu() { return *popup_; }
  QPoint DragOrigin;  // pointer position at the last drag press, in the element's coordinates

  engine::Engine& engine() { return *engine_; }
  lcd::ElementModel& model() { return model_; }
  settings::SettingsStore& store() { return *SettingsStore_; }
  Canvas& canvas() { return *canvas_; }
  sound::SoundOutput& sound() { return *sound_; }
  // The key dialog edits these in place and then asks for the hints anew.
  input::KeyBindings& keyBindings() { return KeyBindings_; }

  // Re-reads nothing: builds the five hints from the current bindings.
  void rebuildHints();
  // The hint of a button picture; empty for every other element.
  QString hintOf(lcd::ElementId element) const;

  // Mouse on the button pictures; only the mouse button is looked at.
  void btn_time_topMouseDown(Qt::MouseButton button);
  void btn_time_topMouseUp(Qt::MouseButton button);
  void btn_acl_topMouseDown(Qt::MouseButton button);
  void btn_acl_topMouseUp(Qt::MouseButton button);
  void btn_left_topMouseDown(Qt::MouseButton button);
  void btn_left_topMouseUp(Qt::MouseButton button);
  void btn_right_topMouseDown(Qt::MouseButton button);
  void btn_right_topMouseUp(Qt::MouseButton button);

  // Keys in Windows key numbering, after the auto-repeat filter.
  void FormKeyDown(std::uint16_t keyCode);
  void FormKeyUp(std::uint16_t keyCode);

  // The cursor the window shows at a client point.
  PointerCursor cursorAt(QPoint client) const;

  // The window shape of the windowed presentation (empty: no shape).
  QRegion windowShape() const { return shape_; }
  bool colourKeyEnabled() const { return colourKeyOn_; }
  skin::Colour keyColour() const { return keyColour_; }

  // SkinHost
  std::filesystem::path configPath() override;
  skin::Size screenSize() override;
  skin::Size clientSize() override;
  void setClientHeight(int height) override;
  void setClientWidth(int width) override;
  void setBackgroundColour(skin::Colour colour) override;
  void setKeyColour(skin::Colour colour) override;
  void setColourKeyEnabled(bool on) override;
  void setBackdropStretch(bool stretch) override;
  void showError(std::string_view text) override;
  void requestTermination() override;

  // SplashHost
  settings::SettingsStore& settingsStore() override { return *SettingsStore_; }
  bool Snd_Init(const QString& entry) override;
  void setSplashMenuChecked(bool checked) override;
  void centreMainWindow() override { centreOnScreen(true); }
  void switchHandheldOn() override;
  void clearSplashPending() override;
  void openUrl(const QUrl& url) override;
  std::uint16_t keyCodeOf(const QKeyEvent& event) override;

  // MenuCommands
  void pm_0_menuPopup() override;
  void pm_1_aboutClick() override;
  void pm_2_readmeClick() override;
  void pm_3_whatsnewClick() override;
  void pm_4_manualClick() override;
  void pm_6_configClick() override;
  void pm_7_keysClick() override;
  void pm_8_hiscoreClick() override;
  void pm_10_fullscreenClick() override;
  void pm_11_splashscreenClick() override;
  void pm_14_exitClick() override;
  void btn_game_menu_topClick();

  bool splashMenuChecked() const { return popup_->isChecked(ui::CheckKind::Splash); }
  bool fullscreenMenuChecked() const { return popup_->isChecked(ui::CheckKind::Fullscreen); }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void pressAt(QPoint client, QPoint global, Qt::MouseButton button);
  void buttonDown(HandheldButton button);
  void buttonUp(HandheldButton button);
  void handleKey(const QKeyEvent& event);
  void releaseHeldKeys();
  void runSkinPass();
  void refreshShape();
  void reshapeStale(const QRegion& stale);
  void applyShape(const QRegion& shape);
  void updateCursor(QPoint client);
  void openDocument(const char* fileName);

  Form1Environment env_;
  lcd::ElementModel model_;
  QtTimerFactory timers_;
  QtLocalClock clock_;
  std::unique_ptr<settings::SettingsStore> SettingsStore_;
  std::unique_ptr<sound::AudioLayer> audio_;
  std::unique_ptr<sound::SoundOutput> sound_;
  std::unique_ptr<engine::Engine> engine_;
  Canvas* canvas_ = nullptr;

  input::KeyBindings KeyBindings_;
  // On X11 a release is held back for a moment to tell auto-repeat from a
  // real release; it then arrives here from the event loop.
  input::KeyRepeatFilter keyFilter_{[this](std::uint16_t code) { FormKeyUp(code); }};
  std::array<QString, 5> hints_;  // TIME, ACL, ALARM, LEFT, RIGHT

  // The picture a left press began on: it gets the release and the moves.
  std::optional<PointerTarget> pressed_;
  QPoint dragPressGlobal_;
  QPoint dragWindowOrigin_;
  PointerCursor cursor_ = PointerCursor::Arrow;

  skin::Colour keyColour_ = skin::kInitialKeyColour;
  bool colourKeyOn_ = skin::kInitialColourKeyOn;
  QRegion shape_;
  bool shapeQueued_ = false;
  QRegion staleShape_;

  std::unique_ptr<ui::PopupMenu> popup_;
  std::unique_ptr<ui::GameMenu> gameMenu_;
};

// The five windows of the program, created once at start-up in this order.
extern TForm1* Form1;
extern ui::TAboutForm* AboutForm;
extern input::TKeysForm* KeysForm;
extern skin::TManualForm* ManualForm;
extern ui::TSplashForm* SplashForm;

// True until the splash has been dealt with: shown by the main window's
// first activation, or skipped by the splash dialog itself.
extern bool SplashPending;

// Ends the event loop once the current handler has returned, without closing
// any window. A request made before the loop runs sets terminationRequested,
// and the program then ends instead of entering the loop.
void endEventLoop();
extern bool terminationRequested;

}  // namespace mk::app
