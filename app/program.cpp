#include "app/program.h"

#include <QApplication>

#include <memory>

#include "app/form1.h"
#include "input/keys_form.h"
#include "settings/qt_settings_store.h"
#include "skin/manual_form.h"
#include "ui/about_form.h"

// Outside any namespace, as the resource initialiser is declared there.
static void initArtResources() { Q_INIT_RESOURCE(art); }

namespace mk::app {

int runProgram(int argc, char* argv[], const std::function<void(TForm1&)>& afterCreation) {
  // The units are initialised: the splash is still to be dealt with.
  SplashPending = true;
  terminationRequested = false;

  // Placing windows at chosen points and the see-through outline are X11
  // features; under a Wayland desktop the program runs through XWayland.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  QApplication application(argc, argv);
  // The windows' own artwork lives in a static library's resources.
  initArtResources();
  QGuiApplication::setApplicationDisplayName(QString());

  Form1Environment environment;
  environment.openStore = [] { return std::make_unique<settings::QtSettingsStore>(); };

  auto form1 = std::make_unique<TForm1>(std::move(environment));
  Form1 = form1.get();
  auto aboutForm = std::make_unique<ui::TAboutForm>();
  AboutForm = aboutForm.get();
  auto keysForm = std::make_unique<input::TKeysForm>(form1->keyBindings(), form1->store(), form1.get(),
                                                     [form = form1.get()] { form->rebuildHints(); });
  KeysForm = keysForm.get();
  auto manualForm = std::make_unique<skin::TManualForm>(
      form1->configPath(), [form = form1.get()](std::string_view text) { form->showError(text); });
  ManualForm = manualForm.get();
  auto splashForm = std::make_unique<ui::TSplashForm>(*form1);
  SplashForm = splashForm.get();

  if (afterCreation) afterCreation(*form1);

  int result = 0;
  if (!terminationRequested) {
    form1->show();
    form1->activateWindow();
    result = QApplication::exec();
  }

  SplashForm = nullptr;
  ManualForm = nullptr;
  KeysForm = nullptr;
  AboutForm = nullptr;
  Form1 = nullptr;
  return result;
}

}  // namespace mk::app
