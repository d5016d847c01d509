// A whole skin pass, windowed and then full-screen, and the manual's page
// loader over a fuzzed Config.ini. The pictures it may name live in a
// temporary folder that becomes the current directory (the skin's folders
// resolve against it), so corpus and artifact paths given to this target
// must be absolute; tools/fuzz passes them so.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "lcd/element_model.h"
#include "skin/gfxinit.h"
#include "skin/skin_host.h"

namespace fs = std::filesystem;
using namespace mk;

namespace {

fs::path g_folder;

// A window as Qt would keep it: sizes clamped to what a widget accepts.
class FuzzHost : public skin::SkinHost {
 public:
  fs::path configPath() override { return g_folder / "Config.ini"; }
  skin::Size screenSize() override { return {1920, 1080}; }
  skin::Size clientSize() override { return client_; }
  void setClientHeight(int height) override { client_.height = std::clamp(height, 0, kMaxWidgetSize); }
  void setClientWidth(int width) override { client_.width = std::clamp(width, 0, kMaxWidgetSize); }
  void setBackgroundColour(skin::Colour) override {}
  void setKeyColour(skin::Colour) override {}
  void setColourKeyEnabled(bool) override {}
  void setBackdropStretch(bool) override {}
  void showError(std::string_view text) override {
    if (text.empty()) std::abort();  // every refusal must say why
  }
  void requestTermination() override {}

 private:
  static constexpr int kMaxWidgetSize = 16777215;
  skin::Size client_ = skin::kInitialClientSize;
};

void copyInto(const fs::path& from, const fs::path& folder) {
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(from)) fs::copy_file(entry.path(), folder / entry.path().filename());
}

void removeFolder() {
  std::error_code ignored;
  fs::remove_all(g_folder, ignored);
}

// Keeps every read inside the temporary folder: no "..", no absolute folder
// or file name.
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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/mk-fuzz-skin-XXXXXX";
  if (!mkdtemp(pattern)) std::abort();
  g_folder = pattern;
  std::atexit(removeFolder);
  const fs::path files = MK_FUZZ_SKIN_FILES;
  copyInto(files, g_folder / "Graphics" / "Skin");
  copyInto(files, g_folder / "Graphics" / "Backdrops");
  fs::create_directories(g_folder / "Graphics" / "Manual");
  fs::copy_file(files / "b.bmp", g_folder / "Graphics" / "Manual" / "1.bmp");
  fs::copy_file(files / "c.jpg", g_folder / "Graphics" / "Manual" / "2.bmp");  // a page that fails to decode
  fs::current_path(g_folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!staysInside(text)) return -1;  // not added to the corpus
  {
    std::ofstream config(g_folder / "Config.ini", std::ios::binary | std::ios::trunc);
    config.write(text.data(), static_cast<std::streamsize>(text.size()));
  }

  lcd::ElementModel model;
  skin::prepareWindowElements(model);
  FuzzHost host;
  skin::Gfx_Init_Skin(model, host, false);
  skin::Gfx_Init_Skin(model, host, true);
  skin::Gfx_Init_Skin(model, host, false);
  (void)skin::Gfx_Init_Manual(host.configPath());
  return 0;
}
