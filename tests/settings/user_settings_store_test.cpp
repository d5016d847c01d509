#include "settings/user_settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QLockFile>
#include <QSettings>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;
using mk::settings::UserSettingsStore;

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

class UserSettingsStoreTest : public ::testing::Test {
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
TEST_F(UserSettingsStoreTest, WriteIsOnDiskAsTextBeforeTheCallReturns) {
  UserSettingsStore store;
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
TEST_F(UserSettingsStoreTest, HandEditedValuesFollowTheReadRules) {
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
  UserSettingsStore store;
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
TEST_F(UserSettingsStoreTest, ReadOnlyFileKeepsItsContentAndTheRunGoesOn) {
  {
    UserSettingsStore store;
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
    UserSettingsStore store;
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

// ---- a store in a folder of its own ----------------------------------------

namespace {

using mk::settings::SettingsStore;

class StoreFolder : public ::testing::Test {
 protected:
  StoreFolder() {
    std::string pattern = (fs::temp_directory_path() / "mk-store-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
  }
  ~StoreFolder() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  fs::path file() const { return dir_ / "MarshKpr50.conf"; }
  QString path() const { return QString::fromStdString(file().string()); }
  std::string text() const {
    std::ifstream in(file());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void write(const std::string& text) const { std::ofstream(file(), std::ios::trunc) << text; }
  // A store whose notices are kept.
  std::unique_ptr<UserSettingsStore> open() {
    auto store = std::make_unique<UserSettingsStore>(path());
    store->setNoticeReporter([this](std::string_view text) { notices.emplace_back(text); });
    return store;
  }
  fs::path dir_;
  std::vector<std::string> notices;
};

// A child that holds the store's lock for `ms` milliseconds, as a copy of
// the game busy writing would.
pid_t holdLock(const QString& lockPath, int ms) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    QLockFile lock(lockPath);
    if (!lock.tryLock(1000)) _exit(1);
    char c = 1;
    if (::write(ready[1], &c, 1) != 1) _exit(2);
    usleep(static_cast<useconds_t>(ms) * 1000);
    _exit(0);
  }
  char c = 0;
  if (::read(ready[0], &c, 1) != 1) return -1;
  ::close(ready[0]);
  ::close(ready[1]);
  return child;
}

}  // namespace

TEST_F(StoreFolder, AValueChangesItsOwnLineAndAnotherCopysWritesAreKept) {
  write("; mine\n[General]\nKey1=2\n[Elsewhere]\nX=1\n");
  auto first = open();
  auto second = open();
  first->writeInt("HiScore1", 57);
  second->writeInt("Key1", 11);  // second never read HiScore1, yet keeps it
  EXPECT_EQ(text(), "; mine\n[General]\nKey1=11\nHiScore1=57\n[Elsewhere]\nX=1\n");
  EXPECT_EQ(UserSettingsStore(path()).readInt("HiScore1", 0), 57);
  EXPECT_TRUE(notices.empty());
}

// Reset Hiscores must never leave one score reset and the other not.
TEST_F(StoreFolder, ValuesThatBelongTogetherAreWrittenInOneReplacement) {
  auto store = open();
  const SettingsStore::Entry both[] = {{"HiScore1", 0}, {"HiScore2", 0}};
  const auto before = fs::exists(file());
  store->writeInts(both);
  EXPECT_FALSE(before);
  EXPECT_EQ(text(), "[General]\nHiScore1=0\nHiScore2=0\n");
}

// Every start writes the key bindings back; where the file already holds
// them as that very text, it is left alone (not even replaced by an equal
// copy), and a value held in another spelling is written in the program's.
TEST_F(StoreFolder, AValueWrittenBackAsItIsStoredLeavesTheFileAlone) {
  write("[General]\nKey1=2\nKey2=+6\n");
  const auto inode = [this] {
    struct stat st {};
    return ::stat(file().c_str(), &st) == 0 ? st.st_ino : 0;
  };
  auto store = open();
  const auto original = inode();
  store->writeInt("Key1", 2);
  const SettingsStore::Entry same[] = {{"Key1", 2}};
  store->writeInts(same);
  EXPECT_EQ(inode(), original) << "the file was rewritten for a value it holds";
  store->writeInt("Key2", 6);
  EXPECT_EQ(text(), "[General]\nKey1=2\nKey2=6\n");
  const SettingsStore::Entry partly[] = {{"Key1", 2}, {"Key3", 39}};
  store->writeInts(partly);
  EXPECT_EQ(text(), "[General]\nKey1=2\nKey2=6\nKey3=39\n");
  EXPECT_TRUE(notices.empty());
}

// A copy killed while it made its lock leaves the lock empty; the next start
// takes it over after about a second instead of waiting for half a minute.
TEST_F(StoreFolder, AnEmptyLockLeftByAKilledCopyDelaysTheStartByASecondAtMost) {
  write("[General]\nKey1=2\n");
  const fs::path lock = dir_ / "MarshKpr50.conf.lock";
  std::ofstream(lock).close();
  QElapsedTimer t;
  t.start();
  auto store = open();
  store->writeInt("Key1", 3);
  EXPECT_LT(t.elapsed(), 1800) << "the start and one write";
  EXPECT_EQ(store->readInt("Key1", 0), 3);
  EXPECT_NE(text().find("Key1=3"), std::string::npos);
  EXPECT_TRUE(notices.empty());

  // Left long ago, it is no delay at all.
  std::ofstream(lock).close();
  fs::last_write_time(lock, fs::file_time_type::clock::now() - std::chrono::seconds(30));
  t.restart();
  open()->writeInt("Key1", 4);
  EXPECT_LT(t.elapsed(), 500);
}

// A live copy's lock is never broken: a write waits a moment, then keeps its
// value for the run and says the settings cannot be saved.
TEST_F(StoreFolder, ALiveCopysLockIsNeverBroken) {
  write("[General]\nKey1=2\n");
  auto store = open();
  const pid_t holder = holdLock(path() + ".lock", 4000);
  ASSERT_GT(holder, 0);
  store->writeInt("Key1", 7);
  EXPECT_EQ(text(), "[General]\nKey1=2\n") << "the file is the live copy's to write now";
  EXPECT_FALSE(store->writable());
  EXPECT_EQ(store->readInt("Key1", 0), 7);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("lock"), std::string::npos) << notices[0];
  int status = 0;
  waitpid(holder, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the holder kept its lock to the end";
  store->writeInt("HiScore1", 5);
  EXPECT_EQ(text(), "[General]\nKey1=7\nHiScore1=5\n") << "once free, the unsaved value goes along";
  EXPECT_TRUE(store->writable());
  EXPECT_EQ(notices.size(), 1u) << "told once";
}

TEST_F(StoreFolder, TemporaryFilesOfKilledWritesAreRemovedAtTheNextStart) {
  write("[General]\nKey1=2\n");
  for (const char* name : {"MarshKpr50.conf.Ab12Cd", "MarshKpr50.conf.zzzzzz"}) std::ofstream(dir_ / name) << "half";
  std::ofstream(dir_ / "MarshKpr50.conf.too-large") << "kept";
  std::ofstream(dir_ / "Other.conf.Ab12Cd") << "not ours";
  // Not while another copy holds the lock: the file may be its write.
  const pid_t holder = holdLock(path() + ".lock", 1800);
  ASSERT_GT(holder, 0);
  UserSettingsStore busy(path());
  EXPECT_EQ(busy.readInt("Key1", 0), 2) << "read all the same";
  EXPECT_TRUE(fs::exists(dir_ / "MarshKpr50.conf.Ab12Cd"));
  waitpid(holder, nullptr, 0);

  auto store = open();
  EXPECT_FALSE(fs::exists(dir_ / "MarshKpr50.conf.Ab12Cd"));
  EXPECT_FALSE(fs::exists(dir_ / "MarshKpr50.conf.zzzzzz"));
  EXPECT_TRUE(fs::exists(dir_ / "MarshKpr50.conf.too-large"));
  EXPECT_TRUE(fs::exists(dir_ / "Other.conf.Ab12Cd"));
  EXPECT_EQ(store->readInt("Key1", 0), 2);
}

TEST_F(StoreFolder, AFileFarLargerThanAnyTheGameWritesIsPutAsideNotRead) {
  {
    std::ofstream big(file());
    big << "[General]\nKey1=11\n";
    for (int i = 0; i < 40000; ++i) big << "Junk" << i << "=xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\n";
  }
  const auto size = fs::file_size(file());
  ASSERT_GT(size, 1u << 20);
  QElapsedTimer t;
  t.start();
  auto store = open();
  EXPECT_LT(t.elapsed(), 500);
  EXPECT_EQ(store->readInt("Key1", 2), 2) << "fresh settings";
  EXPECT_EQ(fs::file_size(dir_ / "MarshKpr50.conf.too-large"), size) << "kept whole";
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find(file().string()), std::string::npos) << notices[0];
  EXPECT_NE(notices[0].find("MarshKpr50.conf.too-large"), std::string::npos) << notices[0];
  store->writeInt("Key1", 3);
  EXPECT_EQ(text(), "[General]\nKey1=3\n");
}

// Notices found while the store opens wait for someone to tell.
TEST_F(StoreFolder, NoticesBeforeAReporterIsSetArePassedOnWhenItIs) {
  {
    std::ofstream big(file());
    big << std::string((1u << 20) + 10, ';');
  }
  UserSettingsStore store(path());
  std::vector<std::string> told;
  store.setNoticeReporter([&](std::string_view text) { told.emplace_back(text); });
  EXPECT_EQ(told.size(), 1u);
}

// A game killed at any step of a write (its lock, the new file, its sync,
// the rename, the lock's removal) leaves the old settings or the new ones,
// whole; the next start is not held up and leaves nothing of the write
// behind. The kill comes from strace, at the entry of the n-th such call.
TEST_F(StoreFolder, AKillAtAnyStepOfAWriteLeavesTheOldSettingsOrTheNewOnesWhole) {
  if (std::system("command -v strace >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
  const std::string before = "[General]\nKey1=2\nHiScore1=10\n";
  const std::string after = "[General]\nKey1=2\nHiScore1=77\n";
  int killed = 0;
  for (const char* step : {"write:when=1", "write:when=2", "write:when=3", "fsync:when=1", "fsync:when=2",
                           "rename:when=1", "unlink:when=1", "unlink:when=2"}) {
    for (const auto& e : fs::directory_iterator(dir_)) fs::remove(e.path());
    write(before);
    const std::string command = "strace -f -qq -o /dev/null -e trace=write,fsync,rename,unlink -e inject=" +
                                std::string(step).replace(std::string(step).find(':'), 1, ":signal=KILL:") +
                                " " MK_SETTINGS_WRITER " '" + file().string() + "' 77 >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    killed += WIFEXITED(status) && WEXITSTATUS(status) != 0 ? 1 : 0;
    const std::string left = text();
    EXPECT_TRUE(left == before || left == after) << step << " left: " << left;

    QElapsedTimer t;
    t.start();
    auto store = open();
    EXPECT_LT(t.elapsed(), 1500) << "the start after a kill at " << step;
    const int score = store->readInt("HiScore1", 0);
    EXPECT_TRUE(score == 10 || score == 77) << step;
    store->writeInt("Key1", 3);
    EXPECT_TRUE(store->writable()) << step;
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"MarshKpr50.conf"}) << "after a kill at " << step;
  }
  EXPECT_GE(killed, 6) << "the kills did not happen";
  EXPECT_TRUE(notices.empty());
}

// A full disk: with less room left than the file needs, the new file cannot
// be written whole, and the old one must stay exactly as it was (QSettings
// reported success and left an empty file here). A tmpfs of the test's own
// stands for the disk.
TEST_F(StoreFolder, AFullDiskKeepsTheOldFileWholeAndTellsThePlayerOnce) {
  const fs::path disk = dir_ / "disk";
  fs::create_directories(disk);
  const std::string mount = "mount -t tmpfs -o size=128k tmpfs '" + disk.string() + "' 2>/dev/null";
  if (std::system(mount.c_str()) != 0) GTEST_SKIP() << "cannot mount a tmpfs here (not root?): the full disk is not tried";
  struct Unmount {
    fs::path at;
    ~Unmount() { std::system(("umount '" + at.string() + "'").c_str()); }
  } unmount{disk};

  const QString settings = QString::fromStdString((disk / "MarshKpr50.conf").string());
  std::string contents = "[General]\nKey1=2\nHiScore1=123\n";
  for (int i = 0; i < 300; ++i) contents += "; a note kept in the file, line " + std::to_string(i) + "\n";
  std::ofstream(disk / "MarshKpr50.conf") << contents;
  // Fill the disk to less room than the file's size, but some.
  struct statvfs room {};
  ASSERT_EQ(statvfs(disk.c_str(), &room), 0);
  const auto free = static_cast<long long>(room.f_bavail) * static_cast<long long>(room.f_frsize);
  ASSERT_GT(free, static_cast<long long>(contents.size()));
  std::ofstream(disk / "filler") << std::string(static_cast<std::size_t>(free - 4096), 'x');
  ASSERT_EQ(statvfs(disk.c_str(), &room), 0);
  ASSERT_LT(static_cast<long long>(room.f_bavail * room.f_frsize), static_cast<long long>(contents.size()));

  UserSettingsStore store(settings);
  store.setNoticeReporter([this](std::string_view text) { notices.emplace_back(text); });
  store.writeInt("HiScore1", 456);
  store.writeInt("Key1", 7);
  std::ifstream in(disk / "MarshKpr50.conf");
  std::stringstream now;
  now << in.rdbuf();
  EXPECT_EQ(now.str(), contents) << "the old file, byte for byte";
  EXPECT_FALSE(store.writable());
  EXPECT_EQ(store.readInt("HiScore1", 0), 456) << "the run goes on with the new value";
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].rfind("Your settings cannot be saved to " + settings.toStdString() + ": ", 0), 0u) << notices[0];
  EXPECT_NE(notices[0].find("Changes last until the program ends."), std::string::npos);
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(disk)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"MarshKpr50.conf", "filler"})) << "no half-written file stays";
}
