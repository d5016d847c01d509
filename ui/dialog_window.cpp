#include "ui/dialog_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdint>
#include <cstring>
#include <optional>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace mk::ui {

namespace {

#if QT_CONFIG(xcb)

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The four cardinals of _NET_FRAME_EXTENTS (left, right, top, bottom), if set.
std::optional<QMargins> readExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents) {
  const Reply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16) return std::nullopt;
  const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                  static_cast<int>(v[3]));
}

bool windowManagerSupports(xcb_connection_t* c, xcb_window_t root, xcb_atom_t wanted) {
  const xcb_atom_t supported = atom(c, "_NET_SUPPORTED");
  const Reply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 1024), nullptr));
  if (!reply || reply->format != 32) return false;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
  const int count = xcb_get_property_value_length(reply.get()) / 4;
  for (int i = 0; i < count; ++i)
    if (atoms[i] == wanted) return true;
  return false;
}

// Asks the window manager which frame it will give the (not yet shown)
// window: it answers by setting _NET_FRAME_EXTENTS on it, which takes it a
// moment, so the answer is awaited briefly.
QMargins requestFrame(QWidget& window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return {};
  xcb_connection_t* c = x11->connection();
  const auto id = static_cast<xcb_window_t>(window.winId());
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
  const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
  if (!screen || request == XCB_ATOM_NONE || !windowManagerSupports(c, screen->root, request)) return {};
  if (const auto known = readExtents(c, id, extents)) return *known;

  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = id;
  message.type = request;
  xcb_send_event(c, 0, screen->root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(c);
  for (int wait = 0; wait < 50; ++wait) {
    if (const auto answer = readExtents(c, id, extents)) return *answer;
    QThread::msleep(2);
  }
  return {};
}

#endif

// Whether X's keyboard focus is in one of this program's windows other than
// `window`. Without an answer (not X11) there is nothing to mend.
bool focusWithAnotherOfOurWindows(QWidget& window) {
#if QT_CONFIG(xcb)
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return false;
  xcb_connection_t* c = x11->connection();
  const Reply<xcb_get_input_focus_reply_t> reply(
      xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  if (!reply) return false;
  const auto own = static_cast<xcb_window_t>(window.winId());
  if (reply->focus == own) return false;
  for (const QWindow* other : QGuiApplication::topLevelWindows())
    if (other->handle() && static_cast<xcb_window_t>(other->winId()) == reply->focus) return true;
  return false;
#else
  (void)window;
  return false;
#endif
}

// A window manager that has just minimised a dialog hands the keyboard to
// the main window below it, and may do so after the dialog, coming back,
// has asked for it (xfwm4 does now and then): X then types into the disabled
// main window while Qt believes the dialog has the keyboard. For a moment
// after asking, the dialog asks again whenever the keyboard is with another
// window of this program; another program's window keeps it.
void keepAskingForTheKeyboard(QWidget& dialog) {
  if (QObject* running =
          dialog.findChild<QTimer*>(QStringLiteral("asking-for-the-keyboard"), Qt::FindDirectChildrenOnly))
    delete running;
  constexpr int kChecks = 8;
  constexpr int kEveryMs = 50;
  auto* timer = new QTimer(&dialog);
  timer->setObjectName(QStringLiteral("asking-for-the-keyboard"));
  timer->setInterval(kEveryMs);
  QObject::connect(timer, &QTimer::timeout, &dialog, [&dialog, timer, checks = 0]() mutable {
    if (++checks >= kChecks || !dialog.isVisible() || dialog.isMinimized()) timer->deleteLater();
    if (dialog.isVisible() && !dialog.isMinimized() && focusWithAnotherOfOurWindows(dialog)) {
      dialog.raise();
      dialog.activateWindow();
    }
  });
  timer->start();
}

}  // namespace

QMargins frameOf(QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect inner = window.geometry();
  if (frame != inner)
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
  // A borderless window has none (some window managers would still answer
  // the question with the frame of an ordinary window).
  if (window.windowFlags() & Qt::FramelessWindowHint) return {};
#if QT_CONFIG(xcb)
  if (QGuiApplication::platformName() == QLatin1String("xcb")) return requestFrame(window);
#endif
  return {};
}

void centreOnScreen(QWidget& window, const QWidget* onScreenOf) {
  const QScreen* screen = onScreenOf ? onScreenOf->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const bool qtKnowsTheFrame = window.frameGeometry() != window.geometry();
  const QMargins frame = frameOf(window);
  QRect box(QPoint(), window.size().grownBy(frame));
  box.moveCenter(screen->geometry().center());
  QWindow* handle = window.windowHandle();
  if (qtKnowsTheFrame || frame.isNull() || !handle) {
    window.move(box.topLeft());  // a top-level window's position is its frame's
  } else {
    // Qt does not know the frame of a window that has never been on screen
    // and would put the window itself where its frame belongs: the window
    // is placed inside the frame instead.
    handle->setPosition(box.topLeft() + QPoint(frame.left(), frame.top()));
  }
}

void giveTheKeyboard(QWidget& dialog) {
  dialog.raise();
  dialog.activateWindow();
  keepAskingForTheKeyboard(dialog);
}

void restoreIfMinimised(QWidget& dialog, const QEvent& event) {
  if (event.type() != QEvent::WindowStateChange || !dialog.isMinimized()) return;
  // Queued: the window manager is still minimising it.
  QMetaObject::invokeMethod(
      &dialog,
      [&dialog] {
        dialog.showNormal();
        giveTheKeyboard(dialog);
      },
      Qt::QueuedConnection);
}

namespace {

// Sets the dialog's transient parent as it is shown: Qt has made its window
// by then but not yet put it on screen, which is when the window manager
// reads it. Making every dialog's window at the start instead cost the start
// the round trips to the X server for windows most runs never show.
class TransientWhenShown final : public QObject {
 public:
  TransientWhenShown(QWidget& dialog, QWidget& mainWindow) : QObject(&dialog), mainWindow_(&mainWindow) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && mainWindow_) {
      auto& dialog = static_cast<QWidget&>(*watched);
      dialog.winId();
      mainWindow_->winId();
      if (dialog.windowHandle() && mainWindow_->windowHandle() &&
          dialog.windowHandle()->transientParent() != mainWindow_->windowHandle())
        dialog.windowHandle()->setTransientParent(mainWindow_->windowHandle());
    }
    return false;
  }

 private:
  QPointer<QWidget> mainWindow_;
};

}  // namespace

void keepAbove(QWidget& dialog, QWidget& mainWindow) {
  static const QString kName = QStringLiteral("transient-when-shown");
  if (dialog.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly)) return;  // asked at every opening
  auto* filter = new TransientWhenShown(dialog, mainWindow);
  filter->setObjectName(kName);
  dialog.installEventFilter(filter);
}

bool isKeptAbove(const QWidget& dialog, const QWidget& mainWindow) {
  return dialog.windowHandle() && mainWindow.windowHandle() &&
         dialog.windowHandle()->transientParent() == mainWindow.windowHandle();
}

}  // namespace mk::ui
