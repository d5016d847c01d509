#include "settings/qt_settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSettings>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;
using mk::settings::QtSettingsStore;

namespace {

// QSettings fixes its user folder on first use, so the temporary config home
// must be in place before any test runs; the user's real settings are never
// touched.
class ConfigHome : public ::testing::Environment {
 public:
  ConfigHome() {
    std::string pattern = (fs::temp_directory_path() / "mk-settings-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
  }
  ~ConfigHome() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  static fs::path folder() { return fs::path(std::getenv("XDG_CONFIG_HOME")) / "Tamarisk"; }
  static fs::path file() { return folder() / "MarshKpr50.conf"; }

 private:
  fs::path root_;
};

const auto* const configHome = ::testing::AddGlobalTestEnvironment(new ConfigHome);

std::string fileText() {
  std::ifstream in(ConfigHome::file());
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFileText(const std::string& text) {
  fs::create_directories(ConfigHome::folder());
  std::ofstream(ConfigHome::file(), std::ios::trunc) << text;
}

class QtSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::error_code ignored;
    fs::permissions(ConfigHome::folder(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(ConfigHome::folder(), ignored);
  }
};

}  // namespace

// A write must be on disk, as decimal text, before the handler that made it
// returns: the program can end at any moment without a save step.
TEST_F(QtSettingsStoreTest, WriteIsOnDiskAsTextBeforeTheCallReturns) {
  QtSettingsStore store;
  EXPECT_EQ(fs::path(store.location().toStdString()), ConfigHome::file());
  store.writeInt("Key4", 44);
  store.writeBool("SplashScreen", false);
  store.writeInt("SoundMode", -1);

  EXPECT_NE(fileText().find("Key4=44"), std::string::npos) << fileText();
  EXPECT_NE(fileText().find("SplashScreen=0"), std::string::npos);
  EXPECT_NE(fileText().find("SoundMode=-1"), std::string::npos);

  QSettings fresh(QSettings::NativeFormat, QSettings::UserScope, "Tamarisk", "MarshKpr50");
  EXPECT_EQ(fresh.value("Key4").typeId(), QMetaType::QString);
  EXPECT_EQ(fresh.value("Key4").toString(), "44");
  EXPECT_TRUE(store.writable());
}

// Hand-edited values: anything that is not a whole decimal number reads as
// the default; booleans are numbers where every non-zero value is true.
TEST_F(QtSettingsStoreTest, HandEditedValuesFollowTheReadRules) {
  writeFileText(
      "[General]\n"
      "HiScore1=abc\n"
      "HiScore2=12x\n"
      "Key1=39\n"
      "Key2=-5\n"
      "Key3=1,2\n"
      "Key4=99999999999\n"
      "SplashScreen=2\n"
      "FullscreenMode=0\n"
      "SoundMode=\n");
  QtSettingsStore store;
  EXPECT_EQ(store.readInt("HiScore1", 0), 0);
  EXPECT_EQ(store.readInt("HiScore2", 7), 7);
  EXPECT_EQ(store.readInt("Key1", 2), 39);
  EXPECT_EQ(store.readInt("Key2", 6), -5);
  EXPECT_EQ(store.readInt("Key3", 39), 39);  // a list is no number
  EXPECT_EQ(store.readInt("Key4", 40), 40);  // beyond 32 bits
  EXPECT_EQ(store.readInt("SoundMode", -1), -1);
  EXPECT_EQ(store.readInt("Absent", 123), 123);
  EXPECT_TRUE(store.readBool("SplashScreen", false));
  EXPECT_FALSE(store.readBool("FullscreenMode", true));
  EXPECT_TRUE(store.readBool("Absent", true));
  EXPECT_FALSE(store.readBool("Absent", false));
}

// A settings file the user cannot write (also when the tests run as root:
// the writing is then done by an unprivileged child) keeps its content; the
// write neither crashes nor throws, the run goes on with the new value in
// memory and the store reports that it is not writable.
TEST_F(QtSettingsStoreTest, ReadOnlyFileKeepsItsContentAndTheRunGoesOn) {
  {
    QtSettingsStore store;
    store.writeInt("Key1", 2);
    store.writeInt("HiScore1", 50);
  }
  const std::string before = fileText();
  const fs::path home = fs::path(std::getenv("XDG_CONFIG_HOME"));
  fs::permissions(home, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(ConfigHome::folder(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                            fs::perms::group_exec | fs::perms::others_read |
                                            fs::perms::others_exec);
  fs::permissions(ConfigHome::file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    QtSettingsStore store;
    if (store.readInt("HiScore1", 0) != 50) _exit(11);
    store.writeInt("HiScore1", 900);
    if (store.writable()) _exit(12);
    if (store.readInt("HiScore1", 0) != 900) _exit(13);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(fileText(), before);
  fs::permissions(ConfigHome::folder(), fs::perms::owner_all, fs::perm_options::add);
  fs::permissions(ConfigHome::file(), fs::perms::owner_write, fs::perm_options::add);
}
