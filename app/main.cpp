#include <QApplication>
#include <QWidget>

#include <memory>

#include "app/form1.h"
#include "input/keys_form.h"
#include "skin/manual_form.h"
#include "ui/about_form.h"
#include "settings/qt_settings_store.h"

using namespace mk;

int main(int argc, char* argv[]) {
  // The units are initialised: the splash is still to be dealt with.
  app::SplashPending = true;

  // Placing windows at chosen points and the see-through outline are X11
  // features; under a Wayland desktop the program runs through XWayland.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  QApplication application(argc, argv);
  // The windows' own artwork lives in a static library's resources.
  Q_INIT_RESOURCE(art);
  QGuiApplication::setApplicationDisplayName(QString());

  app::Form1Environment environment;
  environment.openStore = [] { return std::make_unique<settings::QtSettingsStore>(); };

  auto form1 = std::make_unique<app::TForm1>(std::move(environment));
  app::Form1 = form1.get();
  auto aboutForm = std::make_unique<ui::TAboutForm>();
  app::AboutForm = aboutForm.get();
  auto keysForm = std::make_unique<input::TKeysForm>(form1->keyBindings(), form1->store(), form1.get(),
                                                     [form = form1.get()] { form->rebuildHints(); });
  app::KeysForm = keysForm.get();
  auto manualForm = std::make_unique<skin::TManualForm>(
      form1->configPath(), [form = form1.get()](std::string_view text) { form->showError(text); });
  app::ManualForm = manualForm.get();
  auto splashForm = std::make_unique<ui::TSplashForm>(*form1);
  app::SplashForm = splashForm.get();

  int result = 0;
  if (!app::terminationRequested) {
    form1->show();
    form1->activateWindow();
    result = QApplication::exec();
  }

  app::SplashForm = nullptr;
  app::ManualForm = nullptr;
  app::KeysForm = nullptr;
  app::AboutForm = nullptr;
  return result;
}
