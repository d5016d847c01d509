// One write to the store at a path, as a running game makes it: the program
// the write-interruption test kills at each step of a write.
#include <cstdlib>
#include <cstdio>

#include <QString>

#include "settings/user_settings_store.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: settings_writer FILE HISCORE\n");
    return 2;
  }
  mk::settings::UserSettingsStore store(QString::fromLocal8Bit(argv[1]));
  store.writeInt("HiScore1", std::atoi(argv[2]));
  return store.writable() ? 0 : 1;
}
