#pragma once

#include <QColor>
#include <QImage>
#include <QRegion>

namespace mk::app {

// The part of a composed picture that is not exactly the key colour: the
// window shape that makes key-coloured pixels see-through on the desktop.
// `origin` is where the picture's top-left pixel lies in window coordinates.
QRegion opaqueRegion(const QImage& composed, QColor key, QPoint origin = {});

}  // namespace mk::app
