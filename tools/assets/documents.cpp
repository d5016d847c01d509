// Readme.txt and Whatsnew.txt, from their sources in assets/text/. The
// Readme's table of skin slots is written from the generator's slot table,
// so it always matches Config.ini.

#include <QStringList>

#include "tools/assets/generators.h"
#include "tools/assets/skin.h"

namespace mk::assets {
namespace {

QString slotTable() {
  // Columns: slot, element, meaning; the meaning wraps at 72 columns and
  // continues under itself.
  constexpr int kIndent = 36, kWidth = 72;
  QStringList lines;
  lines << "  Slot  Element                     Shows"
        << "  ----  --------------------------  ----------------------------------";
  for (std::size_t i = 0; i < kSlots.size(); ++i) {
    const QString element = QString::fromLatin1(kSlots[i].element.data(), qsizetype(kSlots[i].element.size()));
    const QString meaning = QString::fromLatin1(kSlots[i].meaning.data(), qsizetype(kSlots[i].meaning.size()));
    QString current = QString("  %1  %2  ").arg(i + 1, 4).arg(element, -26);
    bool empty = true;
    for (const QString& w : meaning.split(' ')) {
      if (!empty && current.size() + 1 + w.size() > kWidth) {
        lines << current;
        current = QString(kIndent, ' ');
        empty = true;
      }
      current += (empty ? "" : " ") + w;
      empty = false;
    }
    lines << current;
  }
  return lines.join('\n');
}

}  // namespace

void writeDocuments(const Paths& paths) {
  QString readme = QString::fromUtf8(readFile(paths.source + "/assets/text/Readme.txt"));
  readme.replace("@SLOT_TABLE@", slotTable());
  writeFile(paths.data + "/Readme.txt", readme.toUtf8());
  writeFile(paths.data + "/Whatsnew.txt", readFile(paths.source + "/assets/text/Whatsnew.txt"));
}

}  // namespace mk::assets
