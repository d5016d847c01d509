#pragma once

#include <QColor>
#include <QFont>
#include <QUrl>

#include "ui/art/project_links.h"

namespace mk::ui {

// What the dialogs share: their dark blue, the fonts they write with, and
// where their links lead.

// The background of the about and key dialogs and the splash's bands.
inline constexpr QColor kDialogBackground{8, 41, 82};

// Every font a window of the program writes with, named by what it writes.
// Most are Arial (Liberation Sans, which has its metrics, on Linux), so the
// texts fit the boxes they were laid out for.
enum class TextStyle {
  Label,          // 11 px: captions, list entries
  StrongLabel,    // 11 px bold: values, key captions
  RemarkLabel,    // 11 px bold italic
  Text,           // 12 px: the splash's lines
  Heading,        // 12 px bold: the splash's title and version
  Link,           // 12 px bold, underlined
  MenuRow,        // 14 px: the in-game menu
  ButtonCaption,  // 14 px bold: a drawn button's caption
  SystemHeading,  // the desktop's own family, 11 px bold, underlined
  SystemButton,   // the desktop's own family, 11 px bold
};

QFont fontOf(TextStyle style);

// A link's target is an address with a scheme ("https:", "mailto:") or one
// of the project's documents, resolved against the current directory (the
// game's folder) like the menu's documents.
QUrl linkUrl(const links::Link& link);

}  // namespace mk::ui
