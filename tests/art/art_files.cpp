#include "tests/art/art_files.h"

#include <QFile>
#include <QImageReader>
#include <QStringList>
#include <cstdlib>

namespace mk::art::testing {

QString sourceDir() {
  const char* dir = std::getenv("MK_SOURCE_DIR");
  return dir ? QString::fromLocal8Bit(dir) : QString(".");
}
QString dataDir() { return sourceDir() + "/data"; }
QString artDir() { return sourceDir() + "/ui/art"; }

QByteArray readAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

QImage decode(const QString& path) {
  QImageReader reader(path);
  return reader.read();
}

std::optional<QString> Ini::value(const QString& section, const QString& key) const {
  auto s = values.find(section.toLower());
  if (s == values.end()) return std::nullopt;
  auto k = s->second.find(key.toLower());
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

int Ini::integer(const QString& section, const QString& key) const {
  bool ok = false;
  const int v = value(section, key).value_or("").toInt(&ok);
  return ok ? v : -1;
}

Ini readIni(const QString& path) {
  Ini ini;
  QString section;
  for (const QString& raw : QString::fromUtf8(readAll(path)).split('\n')) {
    const QString line = raw.trimmed();
    if (line.startsWith('[') && line.endsWith(']')) {
      section = line.mid(1, line.size() - 2).toLower();
      ini.values[section];
    } else if (line.startsWith(';')) {
      if (!section.isEmpty() && !ini.firstComment.count(section)) ini.firstComment[section] = line.mid(1).trimmed();
    } else if (const qsizetype eq = line.indexOf('='); eq > 0 && !section.isEmpty()) {
      ini.values[section].emplace(line.left(eq).trimmed().toLower(), line.mid(eq + 1).trimmed());
    }
  }
  return ini;
}

}  // namespace mk::art::testing
