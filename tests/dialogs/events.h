#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace mk::test {

inline void sendKey(QWidget* to, QEvent::Type type, int key, bool autoRepeat = false) {
  QKeyEvent event(type, key, Qt::NoModifier, 0, 0, 0, QString(), autoRepeat);
  QApplication::sendEvent(to, &event);
}

inline void tapKey(QWidget* to, int key) {
  sendKey(to, QEvent::KeyPress, key);
  sendKey(to, QEvent::KeyRelease, key);
}

// A press, release or (left-button-held) move at a point of the widget.
inline void sendMouse(QWidget* to, QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
  const bool move = type == QEvent::MouseMove;
  const Qt::MouseButtons held =
      move ? Qt::MouseButtons(Qt::LeftButton)
           : (type == QEvent::MouseButtonRelease ? Qt::MouseButtons(Qt::NoButton) : Qt::MouseButtons(button));
  QMouseEvent event(type, QPointF(local), QPointF(to->mapToGlobal(local)), move ? Qt::NoButton : button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(to, &event);
}

inline void click(QWidget* to, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
  sendMouse(to, QEvent::MouseButtonPress, local, button);
  sendMouse(to, QEvent::MouseButtonRelease, local, button);
}

}  // namespace mk::test
