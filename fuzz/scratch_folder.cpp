#include "scratch_folder.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "require.h"

namespace fs = std::filesystem;

namespace mk::fuzz {
namespace {

fs::path g_folder;

void removeFolder() {
  std::error_code ignored;
  fs::remove_all(g_folder, ignored);
}

bool processGone(const std::string& pid) {
  char* end = nullptr;
  const long number = std::strtol(pid.c_str(), &end, 10);
  return number > 0 && *end == '\0' && ::kill(static_cast<pid_t>(number), 0) != 0 && errno == ESRCH;
}

}  // namespace

fs::path scratchFolder(std::string_view target) {
  if (!g_folder.empty()) return g_folder;
  std::error_code ec;
  const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  const std::string prefix = "mk-fuzz-" + std::string(target) + "-";
  std::vector<fs::path> leftovers;
  for (const auto& entry : fs::directory_iterator(base, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix) && processGone(name.substr(prefix.size()))) leftovers.push_back(entry.path());
  }
  for (const fs::path& leftover : leftovers) fs::remove_all(leftover, ec);

  g_folder = base / (prefix + std::to_string(::getpid()));
  fs::remove_all(g_folder, ec);
  MK_REQUIRE(fs::create_directory(g_folder, ec));
  std::atexit(removeFolder);
  return g_folder;
}

}  // namespace mk::fuzz
