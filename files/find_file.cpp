#include "files/find_file.h"

#include <locale.h>

#include <cuchar>
#include <cwchar>
#include <cwctype>
#include <string>
#include <system_error>

namespace mk::files {
namespace fs = std::filesystem;

namespace {

// A locale with the C library's Unicode character tables, whatever locale the
// program itself runs in (the headless tools never set one). Null where the
// system has none: names then compare with ASCII letters folded only.
locale_t unicodeLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

// A byte that starts no valid UTF-8 sequence: beyond every code point, so it
// matches the same byte only.
constexpr char32_t kStrayByte = 0x110000;

char32_t foldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? char32_t(c - 'A' + 'a') : char32_t(c); }

// Upper then lower case, so letters with several lower forms (final sigma)
// meet in one.
char32_t foldLetter(char32_t c, locale_t unicode) {
  const auto upper = towupper_l(static_cast<wint_t>(c), unicode);
  return static_cast<char32_t>(towlower_l(upper, unicode));
}

std::u32string folded(std::string_view name) {
  std::u32string out;
  out.reserve(name.size());
  const locale_t unicode = unicodeLocale();
  if (!unicode) {
    for (const char c : name) out.push_back(foldAscii(static_cast<unsigned char>(c)));
    return out;
  }
  const locale_t previous = uselocale(unicode);
  std::mbstate_t state{};
  for (std::size_t i = 0; i < name.size();) {
    char32_t c = 0;
    const std::size_t used = std::mbrtoc32(&c, name.data() + i, name.size() - i, &state);
    if (used == 0 || used > name.size() - i) {  // a NUL, an invalid or an unfinished sequence
      out.push_back(kStrayByte + static_cast<unsigned char>(name[i]));
      state = {};
      ++i;
      continue;
    }
    out.push_back(foldLetter(c, unicode));
    i += used;
  }
  uselocale(previous);
  return out;
}

enum class Want { Directory, File };

bool isKind(const fs::path& p, Want want) {
  std::error_code ec;
  return want == Want::File ? fs::is_regular_file(p, ec) : fs::is_directory(p, ec);
}

// The entry of `folder` whose name equals `name` ignoring case, of the wanted kind.
std::optional<fs::path> matchInFolder(const fs::path& folder, const fs::path& name, Want want) {
  const std::u32string wanted = folded(name.native());
  std::optional<fs::path> best;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  if (ec) return std::nullopt;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return best;
    const fs::path entryName = it->path().filename();
    if (folded(entryName.native()) != wanted) continue;
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

}  // namespace mk::files
