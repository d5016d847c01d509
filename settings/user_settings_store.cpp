#include "settings/user_settings_store.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <string>

#if defined(_WIN32)
#include <QSettings>
#include <QVariant>
#else
#include <QDateTime>
#include <QElapsedTimer>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "settings/settings_file.h"
#endif

namespace mk::settings {

#if defined(_WIN32)

namespace {

QString keyOf(std::string_view name) { return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())); }

}  // namespace

// The registry: each value is written on its own, at once.
struct UserSettingsStore::Backend {
  QSettings settings{QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication};

  std::map<std::string, std::string, std::less<>> read() {
    std::map<std::string, std::string, std::less<>> values;
    for (const QString& key : settings.childKeys()) {
      const QVariant v = settings.value(key);
      // Only text is a stored number; another kind reads as absent.
      if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray)
        values[key.toStdString()] = v.toString().toStdString();
    }
    return values;
  }
  std::optional<std::string> save(std::span<const Entry> entries, const std::map<std::string, std::string, std::less<>>&) {
    for (const auto& [name, value] : entries) settings.setValue(keyOf(name), QString::number(value));
    settings.sync();
    if (settings.status() != QSettings::NoError) return std::string("the registry refused the values");
    return std::nullopt;
  }
  QString location() const { return settings.fileName(); }
  std::vector<std::string> notices;
};

#else

namespace {

namespace fs = std::filesystem;

// How long a write waits for another copy's lock, and the start (which
// reads without it when it must, and then leaves the folder's leftovers).
constexpr int kWriteLockWaitMs = 2500;
constexpr int kOpenLockWaitMs = 1200;
// An empty lock file older than this was left by a copy killed while making it.
constexpr qint64 kEmptyLockStaleMs = 1000;

bool emptyAndStale(const QString& lockPath) {
  const QFileInfo info(lockPath);
  if (!info.exists() || info.size() != 0) return false;
  const qint64 age = info.lastModified().msecsTo(QDateTime::currentDateTime());
  return age > kEmptyLockStaleMs || age < -kEmptyLockStaleMs;
}

}  // namespace

// The INI file, replaced whole at every write under its lock file.
struct UserSettingsStore::Backend {
  explicit Backend(QString file) : path(std::move(file)), lock(path + QStringLiteral(".lock")) {
    // Only a lock whose owner has died is broken, never a live copy's.
    lock.setStaleLockTime(0);
  }

  // Takes the lock within a moment; a lock left empty by a killed copy is
  // taken over once it is a second old.
  bool acquire(int waitMs) {
    QElapsedTimer waited;
    waited.start();
    while (true) {
      if (lock.tryLock(0)) return true;
      // A folder that cannot be written takes no lock, now or later.
      if (lock.error() == QLockFile::PermissionError || lock.error() == QLockFile::UnknownError) return false;
      if (emptyAndStale(lock.fileName())) QFile::remove(lock.fileName());
      if (waited.elapsed() > waitMs) return false;
      QThread::msleep(20);
    }
  }

  std::string file() const { return QFile::encodeName(path).toStdString(); }

  // The file's text, or nothing when it is absent or unreadable.
  std::optional<SettingsText> readFile() const {
    std::ifstream in(file(), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return SettingsText::parse(text.str());
  }

  // At opening: what killed copies left behind, and a file far too large.
  void tidy() {
    const fs::path target(file());
    std::error_code ec;
    const std::string base = target.filename().string();
    for (const auto& entry : fs::directory_iterator(target.parent_path(), ec)) {
      if (isTemporaryOf(entry.path().filename().string(), base)) fs::remove(entry.path(), ec);
    }
    const auto size = fs::file_size(target, ec);
    if (ec || size <= kMaxSettingsFileBytes) return;
    fs::path aside = target;
    aside += ".too-large";
    for (int n = 2; fs::exists(aside, ec); ++n) {
      aside = target;
      aside += ".too-large." + std::to_string(n);
    }
    fs::rename(target, aside, ec);
    if (ec) {
      notices.push_back("Your settings file " + target.string() + " is far larger than any this game writes (" +
                        std::to_string(size) + " bytes) and cannot be moved aside (" + ec.message() +
                        "): it is not read, and the game starts with fresh settings.");
      tooLarge = true;
      return;
    }
    notices.push_back("Your settings file " + target.string() + " was far larger than any this game writes (" +
                      std::to_string(size) + " bytes). It has been put aside as " + aside.string() +
                      ", and the game starts with fresh settings.");
  }

  std::map<std::string, std::string, std::less<>> read() {
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool locked = acquire(kOpenLockWaitMs);
    if (locked) tidy();
    std::map<std::string, std::string, std::less<>> values;
    std::error_code ec;
    if (!tooLarge && fs::file_size(file(), ec) <= kMaxSettingsFileBytes && !ec) {
      if (const auto text = readFile()) values = text->values();
    }
    if (locked) lock.unlock();
    return values;
  }

  // Writes `entries` and whatever earlier writes could not save, merged into
  // the file as it is now (another copy may have written meanwhile).
  std::optional<std::string> save(std::span<const Entry> entries,
                                  const std::map<std::string, std::string, std::less<>>& unsaved) {
    if (tooLarge) return std::string("the file is far too large to be rewritten");
    const std::string folder = fs::path(file()).parent_path().string();
    if (::access(folder.c_str(), W_OK) != 0) return std::string(std::strerror(errno));
    if (!acquire(kWriteLockWaitMs)) {
      if (lock.error() == QLockFile::LockFailedError)
        return std::string("another copy of the game keeps its lock file ") + file() + ".lock";
      return std::string("its lock file cannot be made (") + QFile::encodeName(lock.fileName()).toStdString() +
             ")";
    }
    std::error_code ec;
    const bool exists = fs::exists(file(), ec);
    // A file made read-only is the user's word that it must not change.
    if (exists && ::access(file().c_str(), W_OK) != 0) {
      const std::string why = std::strerror(errno);
      lock.unlock();
      return why;
    }
    SettingsText text;
    if (exists && fs::file_size(file(), ec) <= kMaxSettingsFileBytes) {
      if (auto current = readFile()) text = std::move(*current);
    }
    for (const auto& [name, value] : unsaved) text.set(name, value);
    for (const auto& [name, value] : entries) text.set(name, std::to_string(value));
    std::optional<std::string> error = replaceFile(file(), text.text());
    lock.unlock();
    return error;
  }

  QString location() const { return path; }

  QString path;
  QLockFile lock;
  bool tooLarge = false;
  std::vector<std::string> notices;
};

#endif

namespace {

QString defaultLocation() {
#if defined(_WIN32)
  return {};
#else
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
         QLatin1String(UserSettingsStore::kOrganisation) + QLatin1Char('/') +
         QLatin1String(UserSettingsStore::kApplication) + QStringLiteral(".conf");
#endif
}

}  // namespace

UserSettingsStore::UserSettingsStore() : UserSettingsStore(defaultLocation()) {}

UserSettingsStore::UserSettingsStore(const QString& path) {
#if defined(_WIN32)
  (void)path;
  backend_ = std::make_unique<Backend>();
#else
  backend_ = std::make_unique<Backend>(path);
#endif
  values_ = backend_->read();
  for (std::string& text : backend_->notices) notice(std::move(text));
}

UserSettingsStore::~UserSettingsStore() = default;

QString UserSettingsStore::location() const { return backend_->location(); }

int UserSettingsStore::readInt(std::string_view name, int defaultValue) {
  const auto it = values_.find(name);
  int value = defaultValue;
  if (it == values_.end() || !parseStoredInt(it->second, value)) return defaultValue;
  return value;
}

void UserSettingsStore::writeInt(std::string_view name, int value) {
  const Entry entry{name, value};
  writeInts(std::span<const Entry>(&entry, 1));
}

void UserSettingsStore::writeInts(std::span<const Entry> entries) {
  // The program writes its values back at every start; one the store already
  // holds as this very text would leave the file byte for byte as it is, so
  // the disk is not touched for it.
  const auto holds = [this](const Entry& entry) {
    const auto it = values_.find(entry.first);
    return it != values_.end() && it->second == std::to_string(entry.second);
  };
  if (writable_ && std::all_of(entries.begin(), entries.end(), holds)) return;
  for (const auto& [name, value] : entries) values_.insert_or_assign(std::string(name), std::to_string(value));
  std::map<std::string, std::string, std::less<>> unsaved;
  if (!writable_) unsaved = values_;  // what earlier writes could not save goes along
  if (const std::optional<std::string> error = backend_->save(entries, unsaved)) {
    saveFailed(*error);
  } else {
    writable_ = true;
  }
}

void UserSettingsStore::saveFailed(const std::string& reason) {
  writable_ = false;
  if (toldUnsaveable_) return;
  toldUnsaveable_ = true;
  notice("Your settings cannot be saved to " + location().toStdString() + ": " + reason +
         ". Changes last until the program ends.");
}

void UserSettingsStore::notice(std::string text) {
  if (reporter_) {
    reporter_(text);
  } else {
    pendingNotices_.push_back(std::move(text));
  }
}

void UserSettingsStore::setNoticeReporter(std::function<void(std::string_view)> reporter) {
  reporter_ = std::move(reporter);
  if (!reporter_) return;
  for (const std::string& text : std::exchange(pendingNotices_, {})) reporter_(text);
}

}  // namespace mk::settings
