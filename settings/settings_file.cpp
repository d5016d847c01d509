#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace mk::settings {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view unquote(std::string_view s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

bool isComment(std::string_view line) { return !line.empty() && (line.front() == ';' || line.front() == '#'); }

// A value as its line holds it. One that would not read back as it is (blanks
// or a pair of quotes around it, or a CR at its end, which the reader takes
// for part of the line end) goes in quotes; only values read from a
// hand-edited file and set again are ever like that.
std::string storedForm(std::string_view value) {
  if (unquote(trim(value)) == value && !value.ends_with('\r')) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

std::string errorText(int error) { return std::strerror(error); }

// Writes all of `bytes`, or says why not.
std::optional<std::string> writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errorText(errno);
    }
    if (n == 0) return std::string("nothing could be written");
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return std::nullopt;
}

std::optional<std::string> readBack(const std::string& path, std::string& out) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errorText(errno);
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return errorText(error);
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return std::nullopt;
}

std::string temporaryName(const std::string& path) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static std::mt19937 random{std::random_device{}()};
  std::string name = path + ".";
  for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name;
}

}  // namespace

SettingsText SettingsText::parse(std::string_view text) {
  SettingsText file;
  bool inGeneral = true;  // lines before any section header belong to it
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    file.lines_.emplace_back(line);
    const std::string_view trimmed = trim(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      const std::size_t close = trimmed.find(']');
      inGeneral = trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1) == "General";
      if (inGeneral) file.generalEnd_ = file.lines_.size();
      continue;
    }
    if (!inGeneral || trimmed.empty() || isComment(trimmed)) continue;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = trim(trimmed.substr(0, equals));
    file.generalEnd_ = file.lines_.size();
    if (file.values_.contains(name)) continue;
    file.values_.emplace(name, unquote(trim(trimmed.substr(equals + 1))));
    file.lineOf_.emplace(name, file.lines_.size() - 1);
  }
  return file;
}

std::optional<std::string> SettingsText::value(std::string_view name) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void SettingsText::set(std::string_view name, std::string_view value) {
  std::string line = std::string(name) + "=" + storedForm(value);
  values_.insert_or_assign(std::string(name), std::string(value));
  if (const auto it = lineOf_.find(name); it != lineOf_.end()) {
    lines_[it->second] = std::move(line);
    return;
  }
  std::size_t at = 0;
  if (generalEnd_) {
    at = *generalEnd_;
  } else {
    // No general section yet: one at the top, ahead of whatever else the file holds.
    lines_.insert(lines_.begin(), "[General]");
    for (auto& [n, index] : lineOf_) ++index;
    at = 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  for (auto& [n, index] : lineOf_)
    if (index >= at) ++index;
  lineOf_.emplace(std::string(name), at);
  generalEnd_ = at + 1;
}

std::string SettingsText::text() const {
  std::string out;
  // A line that ends in CR itself (the file had CR CR LF) keeps it only with a CR LF end.
  for (const std::string& line : lines_) (out += line) += line.ends_with('\r') ? "\r\n" : "\n";
  return out;
}

std::optional<std::string> replaceFile(const std::string& path, std::string_view contents) {
  struct stat old {};
  const bool existed = ::stat(path.c_str(), &old) == 0;
  // The new file gets the old one's permissions; a first one the usual ones.
  const mode_t mode = existed ? (old.st_mode & 07777) : 0666;
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 10 && fd < 0; ++attempt) {
    temporary = temporaryName(path);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) return errorText(errno);
  }
  if (fd < 0) return std::string("no temporary file could be made beside it");
  if (existed) ::fchmod(fd, mode);

  const auto fail = [&](std::string why) -> std::optional<std::string> {
    if (fd >= 0) ::close(fd);
    ::unlink(temporary.c_str());
    return why;
  };
  if (auto error = writeAll(fd, contents)) return fail(*error);
  if (::fsync(fd) != 0) return fail(errorText(errno));
  const int closed = ::close(fd);
  fd = -1;
  if (closed != 0) return fail(errorText(errno));
  // A full disk can let writes and even the sync pass and still keep less
  // than was written: only what reads back whole replaces the old file.
  std::string written;
  if (auto error = readBack(temporary, written)) return fail(*error);
  if (written != contents) return fail("the new file did not read back as it was written");
  if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(errorText(errno));

  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);  // the rename itself on the disk; the file is whole either way
    ::close(dir);
  }
  return std::nullopt;
}

bool isTemporaryOf(std::string_view name, std::string_view base) {
  if (name.size() != base.size() + 7 || !name.starts_with(base) || name[base.size()] != '.') return false;
  for (const char c : name.substr(base.size() + 1)) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum) return false;
  }
  return true;
}

}  // namespace mk::settings
