#include "settings/qt_settings_store.h"

#include <QByteArray>
#include <QVariant>

namespace mk::settings {

namespace {

QString keyOf(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication) {}

int QtSettingsStore::readInt(std::string_view name, int defaultValue) {
  const QVariant stored = settings_.value(keyOf(name));
  // Only text is a stored number; a list ("1,2" in the INI file) or any other
  // kind another program may have written reads as absent.
  if (stored.typeId() != QMetaType::QString && stored.typeId() != QMetaType::QByteArray) return defaultValue;
  const QByteArray text = stored.toString().toUtf8();
  int value = defaultValue;
  return parseStoredInt(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), value)
             ? value
             : defaultValue;
}

void QtSettingsStore::writeInt(std::string_view name, int value) {
  settings_.setValue(keyOf(name), QString::number(value));
  settings_.sync();
  if (settings_.status() != QSettings::NoError) writable_ = false;
}

}  // namespace mk::settings
