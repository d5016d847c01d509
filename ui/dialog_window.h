#pragma once

#include <QMargins>
#include <Qt>

class QEvent;
class QWidget;

namespace mk::ui {

// A dialog whose title bar offers only the close button: a dialog of fixed
// size has nothing to maximise, and minimised it would leave the player
// with no window to come back to.
inline constexpr Qt::WindowFlags kCloseOnlyDialog =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// For a dialog's changeEvent: a window manager that offers minimise whatever
// the window asks for (openbox does) gets the dialog back on screen at once.
void restoreIfMinimised(QWidget& dialog, const QEvent& event);

// Raises the dialog and asks for the keyboard for it; for a moment after,
// it asks again if the window manager handed the keyboard to another of
// this program's windows meanwhile.
void giveTheKeyboard(QWidget& dialog);

// The frame the window manager draws around a top-level window: known to Qt
// once the window has been on screen, asked of the window manager before
// that (on X11), none without a window manager. So a dialog can be centred
// frame and all on its first showing, instead of its frame's corner landing
// where the window alone would be centred.
QMargins frameOf(QWidget& window);

// Centres the window, frame included, on the screen of `onScreenOf` (the
// primary screen when there is none).
void centreOnScreen(QWidget& window, const QWidget* onScreenOf);

// Makes a dialog a transient window of the main window: window managers
// then keep it above the main window, also a full-screen one that is
// clicked, and give it a dialog's place. It stays a window of its own, so
// disabling the main window does not disable it.
// Takes effect as the dialog is first shown, so no window is made before.
void keepAbove(QWidget& dialog, QWidget& mainWindow);
// Whether the dialog's window is now a transient window of the main window's.
bool isKeptAbove(const QWidget& dialog, const QWidget& mainWindow);

}  // namespace mk::ui
