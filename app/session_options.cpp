#include "app/session_options.h"

#include <cstdlib>
#include <system_error>

namespace mk::app {

namespace fs = std::filesystem;

fs::path startFolder() {
  if (const char* dir = std::getenv("MARSH_KEEPER_START_DIR"); dir && *dir) return dir;
  std::error_code error;
  return fs::current_path(error);
}

namespace {

fs::path fromStartFolder(const std::string& path) {
  const fs::path p(path);
  return p.is_absolute() ? p : startFolder() / p;
}

}  // namespace

std::optional<std::string> readSessionOptions(const std::vector<std::string>& args, SessionOptions& out) {
  if (const char* record = std::getenv("MARSH_KEEPER_RECORD"); record && *record) out.record = fromStartFolder(record);
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::optional<fs::path>* target = nullptr;
    if (args[i] == "--record") target = &out.record;
    if (args[i] == "--trace") target = &out.trace;
    if (args[i] == "--replay") target = &out.replay;
    if (!target) continue;
    if (i + 1 >= args.size() || args[i + 1].empty()) return args[i] + " needs a FILE";
    *target = fromStartFolder(args[++i]);
  }
  return {};
}

}  // namespace mk::app
