#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <map>
#include <optional>

namespace mk::art::testing {

// The source tree the test runs against.
QString sourceDir();
QString dataDir();
QString artDir();

QByteArray readAll(const QString& path);
// Decodes through Qt's readers; a null image when the file does not decode.
QImage decode(const QString& path);

// A Config.ini read plainly: section -> key -> value (names lower-cased),
// plus the first comment line of each section.
struct Ini {
  std::map<QString, std::map<QString, QString>> values;
  std::map<QString, QString> firstComment;
  std::optional<QString> value(const QString& section, const QString& key) const;
  int integer(const QString& section, const QString& key) const;
};
Ini readIni(const QString& path);

}  // namespace mk::art::testing
