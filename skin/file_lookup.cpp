#include "skin/file_lookup.h"

#include <QString>
#include <system_error>

namespace mk::skin {
namespace fs = std::filesystem;

namespace {

enum class Want { Directory, File };

bool isKind(const fs::path& p, Want want) {
  std::error_code ec;
  return want == Want::File ? fs::is_regular_file(p, ec) : fs::is_directory(p, ec);
}

QString nameOf(const fs::path& p) { return QString::fromStdString(p.string()); }

// The entry of `folder` whose name equals `name` ignoring case, of the wanted kind.
std::optional<fs::path> matchInFolder(const fs::path& folder, const fs::path& name, Want want) {
  const QString wanted = nameOf(name);
  std::optional<fs::path> best;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  if (ec) return std::nullopt;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return best;
    const fs::path entryName = it->path().filename();
    if (wanted.compare(nameOf(entryName), Qt::CaseInsensitive) != 0) continue;
    const fs::path candidate = folder / entryName;
    if (!isKind(candidate, want)) continue;
    if (!best || entryName < best->filename()) best = candidate;
  }
  return best;
}

}  // namespace

std::optional<fs::path> findFileIgnoringCase(const fs::path& path) {
  if (isKind(path, Want::File)) return path;
  if (path.empty() || !path.has_filename()) return std::nullopt;

  fs::path resolved = path.root_path();
  const fs::path relative = path.relative_path();
  auto last = std::prev(relative.end());
  for (auto part = relative.begin(); part != relative.end(); ++part) {
    const Want want = part == last ? Want::File : Want::Directory;
    if (*part == "." || *part == "..") {
      resolved /= *part;
      continue;
    }
    const fs::path exact = resolved / *part;
    if (isKind(exact, want)) {
      resolved = exact;
      continue;
    }
    auto match = matchInFolder(resolved, *part, want);
    if (!match) return std::nullopt;
    resolved = *match;
  }
  return resolved;
}

}  // namespace mk::skin
