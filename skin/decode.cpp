#include "skin/decode.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "skin/picture_file.h"

namespace mk::skin {
namespace {

std::string lowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The text after the last dot of the file name ("" when there is none);
// unlike path::extension(), a name that starts with a dot has one.
std::string extensionOf(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

// Every file whose pixels fit the decoded-size limit is smaller than this
// (a 32-bit bitmap is the least compact of the three formats).
std::uint64_t maxFileBytes(const DecodeLimits& limits) { return limits.maxBytes + (1u << 20); }

DecodeResult failure(std::string message) { return {lcd::Picture(), std::move(message)}; }

}  // namespace

std::optional<std::string> checkPictureSize(std::int64_t width, std::int64_t height, const DecodeLimits& limits) {
  const bool tooWide = width > limits.maxSide || height > limits.maxSide;
  if (!tooWide && width >= 0 && height >= 0 &&
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4 <= limits.maxBytes) {
    return std::nullopt;
  }
  return "Picture too large (" + std::to_string(width) + " x " + std::to_string(height) +
         " pixels); at most " + std::to_string(limits.maxSide) + " x " + std::to_string(limits.maxSide) +
         " pixels and " + std::to_string(limits.maxBytes >> 20) + " MiB of decoded pixels are allowed";
}

PictureFileBytes readPictureFile(const std::filesystem::path& path, const DecodeLimits& limits, std::uint64_t most) {
  const auto refused = [](std::string message) { return PictureFileBytes{{}, 0, std::move(message)}; };
  PictureFileBytes file;
  std::error_code ec;
  const bool regular = std::filesystem::is_regular_file(path, ec);
  file.size = regular ? std::filesystem::file_size(path, ec) : 0;
  if (!regular || ec) {
    const std::string reason = ec ? ec.message() : std::string("not a file");
    return refused("Cannot open file \"" + path.string() + "\": " + reason);
  }
  if (file.size > maxFileBytes(limits)) {
    return refused("Picture file \"" + path.string() + "\" is too large (" + std::to_string(file.size) + " bytes)");
  }
  file.bytes.resize(static_cast<std::size_t>(std::min(file.size, most)));
  // libstdc++ reports a failing read by throwing.
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return refused("Cannot open file \"" + path.string() + "\": " + std::strerror(errno));
    in.read(reinterpret_cast<char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(file.bytes.size())) {
      return refused("Cannot read file \"" + path.string() + "\"");
    }
  } catch (const std::exception&) {
    return refused("Cannot read file \"" + path.string() + "\"");
  }
  return file;
}

DecodeResult decodePictureFile(const std::filesystem::path& path, const DecodeLimits& limits) {
  const std::string extension = extensionOf(path);
  const std::string kind = lowerAscii(extension);
  DecodeResult (*decoder)(std::span<const std::uint8_t>, const DecodeLimits&) = nullptr;
  if (kind == "png") {
    decoder = decodePng;
  } else if (kind == "jpg" || kind == "jpeg") {
    decoder = decodeJpeg;
  } else if (kind == "bmp") {
    decoder = decodeBmp;
  } else {
    return failure("Unknown picture file extension (." + extension + ")");
  }
  const PictureFileBytes file = readPictureFile(path, limits);
  if (!file.ok()) return failure(file.error);
  return decoder(file.bytes, limits);
}

}  // namespace mk::skin
