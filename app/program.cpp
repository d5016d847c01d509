#include "app/program.h"

#include <QApplication>
#include <QEvent>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/session_options.h"
#include "app/termination_signal.h"
#include "tools/sim/recording.h"
#include "ui/error_box.h"
#include "settings/user_settings_store.h"
#include "ui/about_form.h"
#include "ui/keys_form.h"
#include "ui/manual_form.h"

// Outside any namespace, as the resource initialiser is declared there.
static void initArtResources() { Q_INIT_RESOURCE(art); }

namespace mk::app {

namespace {

// Runs `then` from the event loop once the first of the program's windows
// has been painted, so that what it costs never delays the first picture.
class AfterFirstPaint final : public QObject {
 public:
  explicit AfterFirstPaint(std::function<void()> then) : then_(std::move(then)) {
    qApp->installEventFilter(this);
  }
  ~AfterFirstPaint() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      qApp->removeEventFilter(this);
      QMetaObject::invokeMethod(this, then_, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> then_;
  bool painted_ = false;
};

}  // namespace

Program::Program(ShellEnvironment environment) {
  if (!environment.requestTermination) environment.requestTermination = [this] { endEventLoop(); };
  env_ = withDesktopDefaults(std::move(environment));
}

Program::~Program() = default;

void Program::endEventLoop() {
  terminationRequested = true;
  // Queued, so it takes effect once the event loop runs; a request made
  // before the loop starts is seen by exec through terminationRequested.
  QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void Program::create() {
  form1_ = std::make_unique<TForm1>(env_);
  Form1 = form1_.get();
  QObject::connect(Form1, &TForm1::activated, Form1, [this] { mainWindowActivated(); });
  Form1->FormCreate();

  aboutForm_ = std::make_unique<ui::TAboutForm>(env_.openUrl);
  AboutForm = aboutForm_.get();
  AboutForm->setOwner(*Form1);

  keysForm_ = std::make_unique<ui::TKeysForm>(Form1->handheld().bindings(), Form1->handheld().store(), Form1,
                                               [form = Form1] { form->controls().rebuildHints(); });
  KeysForm = keysForm_.get();

  manualForm_ = std::make_unique<ui::TManualForm>(env_.configPath, env_.showError);
  ManualForm = manualForm_.get();
  ManualForm->setOwner(*Form1);

  ui::SplashHost& splashHost = *this;
  splashForm_ = std::make_unique<ui::TSplashForm>(splashHost);
  SplashForm = splashForm_.get();
  SplashForm->FormCreate();

  Form1->setDialogs({AboutForm, KeysForm, ManualForm, SplashForm});
  keyboard_ = std::make_unique<KeyboardOwner>(*Form1);
  for (QWidget* dialog : std::initializer_list<QWidget*>{AboutForm, KeysForm, ManualForm}) keyboard_->watch(*dialog);
  Form1->setDialogOnTop([keyboard = keyboard_.get()] { return keyboard->dialogOnTop(); });
  if (env_.gameControllers == ShellEnvironment::GameControllers::Used)
    firstPaintWatch_ = std::make_unique<AfterFirstPaint>([form = Form1] { form->pads().start(); });
}

int Program::exec() {
  if (terminationRequested) return 0;
  // The splash is on screen, or Play has already brought the main window.
  return QApplication::exec();
}

void Program::mainWindowActivated() {
  if (keyboard_) keyboard_->mainWindowActivated();
  if (!SplashPending) return;
  SplashPending = false;
  SplashForm->show();
  SplashForm->raise();
  SplashForm->activateWindow();
}

settings::SettingsStore& Program::settingsStore() { return Form1->handheld().store(); }

bool Program::Snd_Init(int position) { return Form1->handheld().sound().Snd_Init(position); }

void Program::setSplashMenuChecked(bool checked) { Form1->popupMenu().setChecked(ui::CheckKind::Splash, checked); }

void Program::centreMainWindow() {
  Form1->centreOnScreen(true);
  Form1->showActivated();
}

void Program::switchHandheldOn() { Form1->handheld().switchOn(); }

int runProgram(int argc, char* argv[], const std::function<void(TForm1&)>& afterCreation,
               ShellEnvironment environment) {
  // Placing windows at chosen points and the see-through outline are X11
  // features; under a Wayland desktop the program runs through XWayland.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  QApplication application(argc, argv);
  // The windows' own artwork lives in a static library's resources.
  initArtResources();
  QGuiApplication::setApplicationDisplayName(QString());

  std::vector<std::string> args;
  for (const QString& arg : QCoreApplication::arguments().mid(1)) args.push_back(arg.toStdString());
  if (auto error = readSessionOptions(args, environment.session)) {
    std::fprintf(stderr, "marsh-keeper: %s\n", error->c_str());
    return 2;
  }
  if (environment.session.replay && !environment.replay) {
    sim::Recording recording;
    if (auto error = sim::loadRecording(environment.session.replay->string(), recording)) {
      // Refused whole: the game does not start on a part of it.
      const std::string text = "The recording cannot be played back: " + *error;
      std::fprintf(stderr, "marsh-keeper: %s\n", text.c_str());
      if (environment.showError) {
        environment.showError(text);
      } else {
        ui::showErrorBox(nullptr, text);
      }
      return 1;
    }
    environment.replay = std::move(recording);
  }

  Program program(std::move(environment));
  program.create();
  endOnTerminationSignals([&program] { program.Form1->environment().requestTermination(); });
  if (afterCreation) afterCreation(*program.Form1);
  const int status = program.exec();
  program.Form1->handheld().finish();
  return status;
}

}  // namespace mk::app
