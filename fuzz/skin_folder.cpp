#include "skin_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "require.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;

namespace mk::fuzz {
namespace {

fs::path g_folder;

void copyInto(const fs::path& from, const fs::path& folder) {
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(from)) fs::copy_file(entry.path(), folder / entry.path().filename());
}

void writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    MK_REQUIRE(n > 0);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

void enterSkinFolder(std::string_view target) {
  if (!g_folder.empty()) return;
  g_folder = scratchFolder(target);
  const fs::path files = MK_FUZZ_SKIN_FILES;
  copyInto(files, g_folder / "Graphics" / "Skin");
  copyInto(files, g_folder / "Graphics" / "Backdrops");
  fs::create_directories(g_folder / "Graphics" / "Manual");
  fs::copy_file(files / "b.bmp", g_folder / "Graphics" / "Manual" / "1.bmp");
  fs::copy_file(files / "c.jpg", g_folder / "Graphics" / "Manual" / "2.bmp");  // a page that fails to decode
  fs::current_path(g_folder);
}

fs::path writeConfig(std::string_view text) {
  const fs::path path = g_folder / "Config.ini";
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  MK_REQUIRE(fd >= 0);
  writeAll(fd, text);
  ::close(fd);
  return path;
}

bool staysInside(std::string_view text) {
  if (text.find("..") != std::string_view::npos) return false;
  for (std::size_t at = text.find('='); at != std::string_view::npos; at = text.find('=', at + 1)) {
    std::size_t i = at + 1;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\v' || text[i] == '"' ||
                               text[i] == '\'')) {
      ++i;
    }
    if (i < text.size() && (text[i] == '/' || text[i] == '\\' || text[i] == '~')) return false;
  }
  return true;
}

SkinRun splitSkinRun(std::span<const std::uint8_t> input) {
  SkinRun run;
  if (input.empty()) return run;
  const std::uint8_t mode = input.back();
  run.config = {reinterpret_cast<const char*>(input.data()), input.size() - 1};
  run.fullscreenFirst = (mode & 1) != 0;
  run.switchMode = (mode & 2) != 0;
  run.loadManual = (mode & 4) != 0;
  run.showEverything = (mode & 8) != 0;
  return run;
}

fs::path FuzzHost::configPath() { return g_folder / "Config.ini"; }

void FuzzHost::showError(std::string_view text) {
  MK_REQUIRE(!text.empty());  // every refusal says why
}

}  // namespace mk::fuzz
