#include "app/canvas.h"

#include <QPaintEvent>
#include <QPainter>

namespace mk::app {

Canvas::Canvas(lcd::ElementModel& model, QWidget* parent) : QWidget(parent), model_(model), tracker_(model) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  // Every pixel is painted by the compositor: Qt need not clear first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  model_.addObserver(this);
}

Canvas::~Canvas() { model_.removeObserver(this); }

void Canvas::invalidate(const QRect& rect) {
  tracker_.add(rect);
  flush();
}

void Canvas::flush() {
  if (tracker_.isEmpty()) return;
  const QRegion stale = tracker_.take();
  if (staleObserver_) staleObserver_(stale);
  update(stale);
}

void Canvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  compositor_.paint(painter, model_, event->region());
  painter.end();
  if (paintedObserver_) paintedObserver_();
}

}  // namespace mk::app
