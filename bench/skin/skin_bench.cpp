// One skin pass against the same 78 pictures decoded by the decoders alone:
// what the loader adds (reading Config.ini, finding files, filling the model)
// should stay small beside the decoding itself.
#include <benchmark/benchmark.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "skin/decode.h"
#include "files/find_file.h"
#include "skin/gfxinit.h"
#include "skin/profile.h"
#include "tools/sim/skin_report.h"

namespace {
namespace fs = std::filesystem;
using namespace mk;

// A skin of the default skin's sizes: a 611x322 face, 60x40 button
// pictures and 30x30 segments, half of them PNG and half BMP.
fs::path generateSkin() {
  const fs::path root = fs::temp_directory_path() / "mk-bench-skin";
  fs::remove_all(root);
  fs::create_directories(root / "Graphics/Skin");
  std::ostringstream ini;
  for (int n = 1; n <= skin::kSkinSlotCount; ++n) {
    const int w = n == 1 ? 611 : n <= 11 ? 60 : 30;
    const int h = n == 1 ? 322 : n <= 11 ? 40 : 30;
    const char* format = n % 2 ? "bmp" : "png";
    QImage image(w, h, n % 2 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    image.fill(QColor::fromHsv((n * 37) % 360, 200, 200, n % 2 ? 255 : 180));
    for (int y = 0; y < h; y += 3) image.setPixelColor(y % w, y, Qt::black);
    const std::string name = "pic" + std::to_string(n) + "." + format;
    image.save(QString::fromStdString((root / "Graphics/Skin" / name).string()), format);
    ini << "[Image" << n << "]\nFilename=" << name << "\nLeft=" << n << "\nTop=" << n << "\nWidth=" << w
        << "\nHeight=" << h << "\n";
  }
  std::ofstream(root / "Config.ini") << ini.str();
  return root;
}

struct BenchSkin {
  fs::path folder;
  std::vector<fs::path> pictures;

  BenchSkin() {
    folder = fs::exists(fs::path(MK_DATA_DIR) / "Config.ini") ? fs::path(MK_DATA_DIR) : generateSkin();
    fs::current_path(folder);
    const skin::ProfileFile ini = skin::ProfileFile::load(folder / "Config.ini");
    const std::string dir = ini.readFolder("Common", "SkinDir", "Graphics\\Skin\\");
    for (int n = 1; n <= skin::kSkinSlotCount; ++n) {
      const auto name = ini.readFileName("Image" + std::to_string(n), "Filename", "");
      if (!name) continue;
      if (auto found = files::findFileIgnoringCase(fs::path(dir + *name))) pictures.push_back(*found);
    }
  }
};

const BenchSkin& benchSkin() {
  static const BenchSkin skin;
  return skin;
}

void BM_SkinPass(benchmark::State& state) {
  const BenchSkin& s = benchSkin();
  lcd::ElementModel model;
  std::ostringstream log;
  sim::HeadlessSkinHost host(s.folder / "Config.ini", {1920, 1080}, log);
  for (auto _ : state) {
    benchmark::DoNotOptimize(skin::Gfx_Init_Skin(model, host, false));
  }
  if (!log.str().empty()) state.SkipWithError(log.str().c_str());
  int pictures = 0;
  for (int n = 1; n <= skin::kSkinSlotCount; ++n) {
    pictures += model[skin::SkinImages[static_cast<std::size_t>(n)]].picture.isNull() ? 0 : 1;
  }
  state.counters["pictures"] = pictures;
}
BENCHMARK(BM_SkinPass)->Unit(benchmark::kMillisecond);

void BM_BareDecoding(benchmark::State& state) {
  const BenchSkin& s = benchSkin();
  // Kept until the next round replaces them, as the element model keeps a
  // pass's pictures; freeing each at once would time the allocator instead.
  std::vector<skin::DecodeResult> decoded(s.pictures.size());
  for (auto _ : state) {
    for (std::size_t i = 0; i < s.pictures.size(); ++i) decoded[i] = skin::decodePictureFile(s.pictures[i]);
    benchmark::DoNotOptimize(decoded.data());
  }
  state.counters["pictures"] = static_cast<double>(s.pictures.size());
}
BENCHMARK(BM_BareDecoding)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
