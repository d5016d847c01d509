#include "lcd/picture.h"

#include <cassert>

namespace mk::lcd {

Picture Picture::fromPixels(int width, int height, std::vector<std::uint32_t> premultipliedArgb,
                            PictureKind kind) {
  assert(width >= 0 && height >= 0);
  assert(premultipliedArgb.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  auto data = std::make_shared<Data>();
  data->width = width;
  data->height = height;
  data->kind = kind;
  data->pixels = std::move(premultipliedArgb);
  Picture picture;
  picture.data_ = std::move(data);
  return picture;
}

const std::uint32_t* Picture::transparentPixels() const {
  if (!data_) return nullptr;
  const Data& d = *data_;
  if (d.kind != PictureKind::Bitmap || d.width == 0 || d.height == 0) return d.pixels.data();
  if (!d.keyedReady) {
    const std::uint32_t key = d.pixels[static_cast<std::size_t>(d.height - 1) * static_cast<std::size_t>(d.width)];
    d.keyed = d.pixels;
    for (auto& p : d.keyed) {
      if (p == key) p = 0;
    }
    d.keyedReady = true;
  }
  return d.keyed.data();
}

Picture Picture::placeholder() {
  constexpr int kSize = 10;
  constexpr std::uint32_t kBlack = 0xFF000000u;
  constexpr std::uint32_t kRed = 0xFFFF0000u;
  std::vector<std::uint32_t> pixels(kSize * kSize, kRed);
  for (int i = 0; i < kSize; ++i) {
    pixels[i] = kBlack;                          // top row
    pixels[(kSize - 1) * kSize + i] = kBlack;    // bottom row
    pixels[i * kSize] = kBlack;                  // left column
    pixels[i * kSize + kSize - 1] = kBlack;      // right column
  }
  return fromPixels(kSize, kSize, std::move(pixels), PictureKind::Bitmap);
}

}  // namespace mk::lcd
