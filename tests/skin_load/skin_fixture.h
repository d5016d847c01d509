#pragma once

#include <QColor>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include "skin/skin_host.h"

namespace mk::skin::testing {

// A private folder that is also the current directory for the test's
// duration, since skin folders resolve against the current directory.
class TempSkinFolder {
 public:
  TempSkinFolder() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() /
            ("mk-skin-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(root_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(root_);
  }
  ~TempSkinFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(root_, ec);
  }
  TempSkinFolder(const TempSkinFolder&) = delete;
  TempSkinFolder& operator=(const TempSkinFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path configPath() const { return root_ / "Config.ini"; }

  void writeConfig(const std::string& text) const { writeFile("Config.ini", text); }

  void writeFile(const std::filesystem::path& relative, const std::string& bytes) const {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  // A picture of one colour; bottomLeft, when given, paints the bottom-left pixel.
  void writePicture(const std::filesystem::path& relative, int width, int height, QColor fill,
                    const char* format, std::optional<QColor> bottomLeft = std::nullopt) const {
    QImage image(width, height, format == std::string("png") ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(fill);
    if (bottomLeft) image.setPixelColor(0, height - 1, *bottomLeft);
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    image.save(QString::fromStdString(path.string()), format);
  }

 private:
  std::filesystem::path root_;
  std::filesystem::path previous_;
};

}  // namespace mk::skin::testing
