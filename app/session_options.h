#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace mk::app {

// What the command line asks of a session besides playing: a recording of
// it, a trace of what the handheld showed, or a recording to play back.
struct SessionOptions {
  std::optional<std::filesystem::path> record;  // --record FILE, or $MARSH_KEEPER_RECORD
  std::optional<std::filesystem::path> trace;   // --trace FILE (and FILE.lateness)
  std::optional<std::filesystem::path> replay;  // --replay FILE
};

// The folder the user started the program from: the launcher, which changes
// into the installed folder, passes it on in $MARSH_KEEPER_START_DIR.
std::filesystem::path startFolder();

// Reads the three options out of the program's arguments (the program name
// left out, Qt's own already taken) and the environment; relative paths are
// made absolute against startFolder(). Other arguments are left alone, as
// they always were. The one-line reason when an option lacks its file.
std::optional<std::string> readSessionOptions(const std::vector<std::string>& args, SessionOptions& out);

}  // namespace mk::app
