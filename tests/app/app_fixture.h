#pragma once

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/form1.h"
#include "app/program.h"
#include "settings/settings_store.h"
#include "ui/splash_form.h"

// Outside any namespace, as the resource initialiser is declared there.
inline void initArtResources() { Q_INIT_RESOURCE(art); }

namespace mk::app::testing {

// One QApplication for the whole test program, on Qt's offscreen platform.
inline QApplication& application() {
  static int argc = 1;
  static char name[] = "app_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* created = new QApplication(argc, argv);
    initArtResources();
    return created;
  }();
  return *app;
}

// A store the test keeps after the window has released its own handle.
class SharedStore final : public settings::SettingsStore {
 public:
  explicit SharedStore(std::shared_ptr<settings::MemorySettingsStore> store) : store_(std::move(store)) {}
  int readInt(std::string_view name, int defaultValue) override { return store_->readInt(name, defaultValue); }
  void writeInt(std::string_view name, int value) override { store_->writeInt(name, value); }

 private:
  std::shared_ptr<settings::MemorySettingsStore> store_;
};

// Records the calls the sound operations make of the audio library.
struct SoundLog {
  std::vector<std::string> calls;
  bool samplesLoad = true;  // false: as if the Sound folder were missing
};

class FakeAudio final : public sound::AudioLayer {
 public:
  explicit FakeAudio(std::shared_ptr<SoundLog> log) : log_(std::move(log)) {}
  bool init(int, int, unsigned) override { return record("init"), true; }
  bool setOutput(int type) override { return record("output " + std::to_string(type)), true; }
  sound::SampleHandle sampleLoad(int, const std::string& path, unsigned, int, int) override {
    record("load " + path);
    return log_->samplesLoad ? &sample_ : nullptr;
  }
  int playSound(int, sound::SampleHandle) override { return record("play"), 0; }
  bool stopSound(int) override { return record("stop"), true; }
  void sampleFree(sound::SampleHandle) override { record("free"); }
  void close() override { record("close"); }

 private:
  void record(std::string call) { log_->calls.push_back(std::move(call)); }
  std::shared_ptr<SoundLog> log_;
  sound::AudioSample sample_;
};

// A small skin in a private folder that is the current directory meanwhile:
// a 200 x 100 face whose corners are magenta (the key colour), an opaque
// grey body from (20, 10) to (180, 90), and the five buttons on the body.
class TestSkin {
 public:
  TestSkin() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() / ("mk-app-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(root_ / "Graphics" / "Skin");
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(root_);

    QImage face(200, 100, QImage::Format_RGB32);
    face.fill(QColor(255, 0, 255));
    QPainter(&face).fillRect(20, 10, 160, 80, QColor(128, 128, 128));
    face.save(path("Graphics/Skin/face.bmp"), "bmp");
    for (const char* name : {"btn_up", "btn_down", "segment"}) {
      QImage button(20, 20, QImage::Format_RGB32);
      button.fill(std::string_view(name) == "btn_down" ? QColor(0, 0, 200) : QColor(200, 0, 0));
      // Segments are drawn without their bottom-left pixel's colour.
      if (std::string_view(name) == "segment") button.setPixelColor(0, 19, Qt::white);
      button.save(path(std::string("Graphics/Skin/") + name + ".bmp"), "bmp");
    }
    writeConfig(defaultConfig());
  }
  ~TestSkin() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(root_, ec);
  }
  TestSkin(const TestSkin&) = delete;
  TestSkin& operator=(const TestSkin&) = delete;

  static std::string slot(int n, const char* file, int left, int top, int width, int height) {
    return "[Image" + std::to_string(n) + "]\nFilename=" + file + "\nLeft=" + std::to_string(left) +
           "\nTop=" + std::to_string(top) + "\nWidth=" + std::to_string(width) +
           "\nHeight=" + std::to_string(height) + "\n";
  }

  // Buttons: TIME (30,60), ACL (60,60), ALARM (90,60), LEFT (120,60), RIGHT (150,60).
  static std::string defaultConfig() {
    return "[Common]\nGameWidth=200\nGameHeight=100\n[VideoMode]\nTranspColor=$00ff00ff\n" +
           slot(1, "face.bmp", 0, 0, 200, 100) + slot(3, "btn_down.bmp", 30, 60, 20, 20) +
           slot(4, "btn_up.bmp", 30, 60, 20, 20) + slot(5, "btn_down.bmp", 60, 60, 20, 20) +
           slot(6, "btn_up.bmp", 60, 60, 20, 20) + slot(7, "btn_up.bmp", 90, 60, 20, 20) +
           slot(8, "btn_down.bmp", 120, 60, 20, 20) + slot(9, "btn_up.bmp", 120, 60, 20, 20) +
           slot(10, "btn_down.bmp", 150, 60, 20, 20) + slot(11, "btn_up.bmp", 150, 60, 20, 20) +
           slot(44, "segment.bmp", 40, 20, 20, 20);
  }

  void writeConfig(const std::string& text) const { std::ofstream(root_ / "Config.ini") << text; }
  void removeConfig() const { std::filesystem::remove(root_ / "Config.ini"); }
  std::filesystem::path configPath() const { return root_ / "Config.ini"; }

 private:
  QString path(const std::string& relative) const { return QString::fromStdString((root_ / relative).string()); }
  std::filesystem::path root_;
  std::filesystem::path previous_;
};

// What a test gives the shell: the test skin's Config.ini, an in-memory
// store, a fake sound side, and records of messages, termination requests
// and opened links instead of the desktop's.
struct ShellRecord {
  explicit ShellRecord(std::shared_ptr<settings::MemorySettingsStore> initial)
      : store(initial ? std::move(initial) : std::make_shared<settings::MemorySettingsStore>()) {}

  ShellEnvironment environment(const TestSkin& skin) {
    ShellEnvironment env;
    env.openStore = [s = store] { return std::make_unique<SharedStore>(s); };
    env.configPath = skin.configPath();
    env.makeAudio = [l = sound] { return std::make_unique<FakeAudio>(l); };
    env.showError = [this](std::string_view text) { errors.emplace_back(text); };
    env.requestTermination = [this] { ++terminationRequests; };
    env.openUrl = [this](const QUrl& url) { openedUrls.push_back(url); };
    return env;
  }

  std::shared_ptr<settings::MemorySettingsStore> store;
  std::shared_ptr<SoundLog> sound = std::make_shared<SoundLog>();
  std::vector<std::string> errors;
  int terminationRequests = 0;
  std::vector<QUrl> openedUrls;
};

// The main window alone on the test skin, created as the program creates it.
struct FormHarness : ShellRecord {
  explicit FormHarness(const TestSkin& skin, std::shared_ptr<settings::MemorySettingsStore> initial = nullptr)
      : ShellRecord(std::move(initial)) {
    application();
    form = std::make_unique<TForm1>(environment(skin));
    form->FormCreate();
  }
  engine::Engine& engine() { return form->handheld().engine(); }
  const engine::GameState& state() { return engine().state(); }

  std::unique_ptr<TForm1> form;
};

// The whole program on the test skin: its five windows created in order.
struct ProgramHarness : ShellRecord {
  explicit ProgramHarness(const TestSkin& skin, std::shared_ptr<settings::MemorySettingsStore> initial = nullptr)
      : ShellRecord(std::move(initial)) {
    application();
    program = std::make_unique<Program>(environment(skin));
    program->create();
    form = program->Form1;
  }
  ui::TSplashForm& splash() { return *program->SplashForm; }
  const engine::GameState& state() { return form->handheld().engine().state(); }

  std::unique_ptr<Program> program;
  TForm1* form = nullptr;
};

inline std::shared_ptr<settings::MemorySettingsStore> windowedStore() {
  auto store = std::make_shared<settings::MemorySettingsStore>();
  store->setText("FullscreenMode", "0");
  return store;
}

}  // namespace mk::app::testing
