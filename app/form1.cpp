#include "app/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <chrono>

#include "settings/persistent_settings.h"
#include "skin/compositor.h"
#include "skin/gfxinit.h"
#include "skin/layout.h"
#include "ui/art/art_paths.h"
#include "ui/art_pictures.h"
#include "ui/splash_form.h"
#include "ui/texts.h"

namespace mk::app {
using lcd::ElementId;

namespace {

std::uint32_t clockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
  return static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

}  // namespace

TForm1::TForm1(ShellEnvironment environment)
    : QWidget(nullptr, Qt::FramelessWindowHint),
      env_(withDesktopDefaults(std::move(environment))),
      canvas_(model_, this),
      skin_(*this, canvas_, model_, env_),
      handheld_(model_),
      commands_(*this),
      popup_(this, commands_),
      gameMenu_(
          this, commands_, [this](ui::CheckKind kind) { return popup_.isChecked(kind); },
          [this](int width, int height) { model_.setBox(ElementId::btn_game_menu_background, {0, 0, width, height}); }),
      controls_(*this, model_, handheld_, popup_, gameMenu_, [this] { return !FullscreenMode; },
                [this] { return skin_.shape(); }) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  skin::prepareWindowElements(model_);
  resize(skin::kInitialClientSize.width, skin::kInitialClientSize.height);
  canvas_.setGeometry(rect());
  // Play sets it from the splash dialog; until then, as the dialog starts.
  popup_.setChecked(ui::CheckKind::Splash, true);

  qApp->installEventFilter(this);
  // Keys can reach this window while it is not the active one (no window
  // manager, or focus following the pointer), so it is never deactivated; a
  // window that a key opened then gets that key's release, and the key
  // would stay down here, its next press taken for a repeat.
  // The window's activation is taken from here too: Qt sends no activation
  // event to a disabled window (the key dialog disables it), yet the window
  // must hand the keyboard on to the dialog also then.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
    if (focus != windowHandle()) {
      controls_.releaseHeldKeys();
    } else {
      FormActivate();
    }
  });
}

TForm1::~TForm1() { qApp->removeEventFilter(this); }

void TForm1::FormCreate() {
  // The taskbar entry is the main window's title. The application's display
  // name stays empty: Qt would append it to every dialog's title.
  setWindowTitle(ui::toQString(ui::kApplicationTitle));
  // The window is kept out of sight by not being shown until play begins:
  // a window manager would pull a window placed off the screen back onto it.
  // The segment tables are compile-time tables of the LCD model.
  handheld_.open(env_.openStore(), env_.makeAudio(), env_.showError, env_.session, env_.replay);
  // With the start-up dialog switched off, the start sets up the stored
  // output: it opens beside the skin pass instead of after it. (With the
  // dialog the player may still choose "(no sound)", which opens nothing.)
  if (!settings::readBool(handheld_.store(), settings::Setting::SplashScreen))
    handheld_.sound().prepare(settings::readInt(handheld_.store(), settings::Setting::SoundMode));
  // What the store must tell the player (settings that cannot be saved, a
  // file put aside) waits until the handler that wrote has returned.
  handheld_.store().setNoticeReporter([this](std::string_view text) {
    QMetaObject::invokeMethod(this, [this, message = std::string(text)] { env_.showError(message); },
                              Qt::QueuedConnection);
  });
  FullscreenMode = settings::readBool(handheld_.store(), settings::Setting::FullscreenMode);
  popup_.setChecked(ui::CheckKind::Fullscreen, FullscreenMode);
  skin_.load(FullscreenMode);
  if (FullscreenMode) takeGameMenuArt();
  gameMenu_.GameMenuOpen = false;
  handheld_.bindings().load(handheld_.store());
  controls_.rebuildHints();
  // The menu items are the compile-time table ui::MenuItems, and Qt widgets
  // always paint off-screen first: nothing to fill or switch on here.
  handheld_.engine().loadHighScores();
  // PlayLive and MoveLatch: the engine starts with both cleared.
  handheld_.seed(clockSeed());
}

void TForm1::takeGameMenuArt() {
  // The window's own artwork, not a skin slot; only full screen shows it.
  if (model_[ElementId::btn_game_menu_background].picture.isNull())
    model_.setPicture(ElementId::btn_game_menu_background, ui::artPicture(ui::art::kGameMenu));
}

void TForm1::FormActivate() { emit activated(); }

QWidget* TForm1::dialogInUse() const {
  if (dialogs_.splash && dialogs_.splash->isVisible()) return dialogs_.splash;
  return dialogOnTop_ ? dialogOnTop_() : nullptr;
}

void TForm1::FormClose() {
  // The recording and the trace end with the last moment the handheld ran.
  handheld_.finish();
  handheld_.sound().Snd_Shutdown();
  // Every value was written when it changed; nothing is flushed here. The
  // store itself lives until the window is destroyed.
  handheld_.engine().Gam_Stop_All_Timers();
}

void TForm1::switchPresentation() {
  FullscreenMode = !FullscreenMode;
  popup_.setChecked(ui::CheckKind::Fullscreen, FullscreenMode);
  gameMenu_.close();
  settings::writeBool(handheld_.store(), settings::Setting::FullscreenMode, FullscreenMode);
  // Out of sight while the skin pass lays it out anew: not shown, rather
  // than moved off the screen, so no wrong size or place ever shows.
  const bool shown = isVisible();
  hide();
  // A pass abandoned on a picture or colour error has shown its message;
  // the window comes back either way, so the player can switch again.
  skin_.load(FullscreenMode);
  if (FullscreenMode) takeGameMenuArt();
  centreOnScreen(false);
  if (shown) showActivated();
}

void TForm1::centreOnScreen(bool clampToScreen) {
  const skin::ScreenArea screen = skin_.screenArea();
  skin::Point p = skin::centredOn(screen, skin_.clientSize());
  if (clampToScreen) {
    p.x = std::max(p.x, screen.left);
    p.y = std::max(p.y, screen.top);
  }
  move(p.x, p.y);
}

void TForm1::showActivated() {
  show();
  raise();
  // Queued: a dialog hidden by the same handler (the splash's Play) would
  // otherwise hand the keyboard back to the desktop after this asked for it.
  // Qt holds the request until the window is mapped.
  QMetaObject::invokeMethod(this, [this] { activateWindow(); }, Qt::QueuedConnection);
}

// ---- window events -------------------------------------------------------------

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == this) {
      const auto& key = *static_cast<QKeyEvent*>(event);
      if (QWidget* dialog = dialogOnTop_ ? dialogOnTop_() : nullptr) {
        passKeyTo(*dialog, key);
        return true;
      }
      if (isEnabled()) {
        controls_.keyEvent(key);
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

// The key goes to the dialog's focused control, as if typed there, and the
// dialog takes the keyboard for the keys after it.
void TForm1::passKeyTo(QWidget& dialog, const QKeyEvent& key) {
  QKeyEvent copy(key.type(), key.key(), key.modifiers(), key.nativeScanCode(), key.nativeVirtualKey(),
                 key.nativeModifiers(), key.text(), key.isAutoRepeat(), static_cast<quint16>(key.count()));
  QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
  QCoreApplication::sendEvent(target, &copy);
  if (key.type() == QEvent::KeyPress && dialog.isVisible()) {
    dialog.raise();
    dialog.activateWindow();
  }
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  controls_.mousePress(event->position().toPoint(), event->globalPosition().toPoint(), event->button());
  event->accept();
}

// On X11 Qt delivers a quick second click as this event instead of a press.
void TForm1::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  controls_.mouseMove(event->position().toPoint(), event->globalPosition().toPoint(), event->buttons());
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  controls_.mouseRelease(event->position().toPoint(), event->button());
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  popup_.pm_0_menu->popup(event->globalPos());
}

bool TForm1::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowDeactivate:
      controls_.releaseHeldKeys();
      break;
    case QEvent::ToolTip: {
      auto* help = static_cast<QHelpEvent*>(event);
      const std::optional<ElementId> element = elementAt(model_, help->pos().x(), help->pos().y());
      const QString hint = element ? controls_.hintOf(*element) : QString();
      if (hint.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
      } else {
        QToolTip::showText(help->globalPos(), hint, this, skin::toRect(model_[*element].box));
      }
      return true;
    }
    default:
      break;
  }
  return QWidget::event(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  // The main window's close ends the program, whatever dialogs are open.
  env_.requestTermination();
}

// Keys held while the window goes off the screen (the F12 of a switch) are
// let go in another window, if anywhere: a window out of sight holds none.
void TForm1::hideEvent(QHideEvent* event) {
  controls_.releaseHeldKeys();
  QWidget::hideEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  canvas_.setGeometry(rect());
}

}  // namespace mk::app
