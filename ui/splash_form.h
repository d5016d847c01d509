#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QString>
#include <QUrl>

#include <cstdint>

#include "settings/settings_store.h"

namespace mk::ui {

// What the splash dialog needs of the program around it.
class SplashHost {
 public:
  virtual ~SplashHost() = default;
  virtual settings::SettingsStore& settingsStore() = 0;
  // Sets up the chosen output and loads the samples. False when the sound
  // files are missing: the message has been shown and the settings written.
  // `position`: the chosen entry's place in the list.
  virtual bool Snd_Init(int position) = 0;
  // The popup-menu item "Display splash screen at startup".
  virtual void setSplashMenuChecked(bool checked) = 0;
  // Centres the main window on the screen, never above or left of its edge,
  // and shows it there, with the keyboard: the main window is not on screen
  // before.
  virtual void centreMainWindow() = 0;
  // GameMode 1 and Gam_Set_Mode: every segment lit.
  virtual void switchHandheldOn() = 0;
  // The splash has been dealt with; the main window's activation must not
  // show it. Play says so before it brings the main window into view.
  virtual void clearSplashPending() = 0;
  virtual void requestTermination() = 0;
  // The desktop's "open" action for a link.
  virtual void openUrl(const QUrl& url) = 0;
};

// A picture that acts as a button: clicked on a left-button release over it.
class PictureButton final : public QLabel {
  Q_OBJECT
 public:
  explicit PictureButton(QWidget* parent) : QLabel(parent) {}
 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

// A text that opens an address when clicked.
class LinkLabel final : public QLabel {
  Q_OBJECT
 public:
  explicit LinkLabel(QWidget* parent) : QLabel(parent) {}
 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The start-up dialog: title, version, links, the sound output choice and
// the gate through which play begins.
class TSplashForm final : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 460;
  static constexpr int kClientHeight = 420;

  explicit TSplashForm(SplashHost& host, QWidget* parent = nullptr);
  ~TSplashForm() override;

  // The creation handler, run by the program once the dialog exists: reads
  // the stored choices; then either the dialog is shown, or, with a stored
  // sound choice and the splash switched off, Play runs at once and the
  // dialog is never seen.
  void FormCreate();
  void FormActivate();
  // Key code in the program's key numbering; true when the key was used here.
  bool FormKeyDown(std::uint16_t keyCode);
  void cb_soundChange();
  void btn_playClick();
  void la_website_2Click();
  void la_email_2Click();
  void btn_paypalClick();

  // Play is enabled exactly when a sound output is chosen.
  bool playEnabled() const;
  // True when creation skipped the dialog and performed Play.
  bool skippedAtCreation() const { return skipped_; }

  QComboBox* cb_sound = nullptr;
  QCheckBox* chb_splashscreen = nullptr;
  QLabel* im_background = nullptr;
  QLabel* im_box_picture = nullptr;
  QLabel* la_game_title = nullptr;
  QLabel* la_version = nullptr;
  QLabel* la_release_date = nullptr;
  QLabel* la_website_1 = nullptr;
  LinkLabel* la_website_2 = nullptr;
  QLabel* la_email_1 = nullptr;
  LinkLabel* la_email_2 = nullptr;
  QLabel* la_sound_select = nullptr;
  PictureButton* btn_play = nullptr;
  PictureButton* btn_play_disabled = nullptr;
  PictureButton* btn_paypal = nullptr;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void reject() override;

 private:
  void buildElements();
  // The pictures are decoded when the dialog is first shown: a start with
  // the dialog switched off never shows it.
  void takePictures();
  bool picturesTaken_ = false;
  void updatePlayState();

  SplashHost& host_;
  bool skipped_ = false;
};

// The texts the dialog shows besides the program's name and version.
inline constexpr const char* kPlayDisabledHint = "please select sound driver first";
inline constexpr const char* kSplashCheckText = "Display this splash screen at startup";

}  // namespace mk::ui
