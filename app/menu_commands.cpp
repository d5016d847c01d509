#include "app/menu_commands.h"

#include <QApplication>
#include <QDir>

#include "app/form1.h"
#include "settings/persistent_settings.h"
#include "ui/about_form.h"
#include "ui/keys_form.h"
#include "ui/manual_form.h"
#include "ui/splash_form.h"

namespace mk::app {

void ShellCommands::pm_0_menuPopup() {
  const bool splashDefault = dialogs_.splash ? dialogs_.splash->chb_splashscreen->isChecked() : true;
  window_.popupMenu().setChecked(
      ui::CheckKind::Splash,
      settings::readBool(window_.handheld().store(), settings::Setting::SplashScreen, splashDefault));
  if (window_.FullscreenMode && window_.gameMenu().GameMenuOpen) window_.gameMenu().close();
}

void ShellCommands::pm_1_aboutClick() {
  if (dialogs_.about) dialogs_.about->showCentred();
}

// Documents are named relative to the game's folder, the current directory.
void ShellCommands::openDocument(const char* fileName) {
  window_.environment().openUrl(
      QUrl::fromLocalFile(QDir::current().absoluteFilePath(QString::fromLatin1(fileName))));
}

void ShellCommands::pm_2_readmeClick() { openDocument("Readme.txt"); }
void ShellCommands::pm_3_whatsnewClick() { openDocument("Whatsnew.txt"); }

void ShellCommands::pm_4_manualClick() {
  if (!dialogs_.manual) return;
  dialogs_.manual->show();
  dialogs_.manual->raise();
  dialogs_.manual->activateWindow();
}

void ShellCommands::pm_6_configClick() { openDocument("Config.ini"); }

void ShellCommands::pm_7_keysClick() {
  if (dialogs_.keys) dialogs_.keys->open();
}

void ShellCommands::pm_8_hiscoreClick() {
  window_.handheld().resetHighScores();
  QApplication::beep();
}

void ShellCommands::pm_10_fullscreenClick() { window_.switchPresentation(); }

void ShellCommands::pm_11_splashscreenClick() {
  ui::PopupMenu& popup = window_.popupMenu();
  const bool checked = !popup.isChecked(ui::CheckKind::Splash);
  popup.setChecked(ui::CheckKind::Splash, checked);
  settings::writeBool(window_.handheld().store(), settings::Setting::SplashScreen, checked);
}

void ShellCommands::pm_14_exitClick() { window_.environment().requestTermination(); }

}  // namespace mk::app
