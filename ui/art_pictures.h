#pragma once

#include <QImage>
#include <QPixmap>

#include "lcd/picture.h"

namespace mk::ui {

// The windows' own artwork (the resources of art/), decoded by the skin's
// decoders rather than Qt's image readers: those are plugins, and finding
// them costs the start several milliseconds before its first picture. The
// decoder is chosen by the resource's extension (.png, .bmp, .jpg). Null
// when the resource is missing or does not decode.
lcd::Picture artPicture(const char* resource);
QImage artImage(const char* resource);
QPixmap artPixmap(const char* resource);

}  // namespace mk::ui
