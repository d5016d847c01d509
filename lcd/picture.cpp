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
  if (kind == PictureKind::Bitmap && width > 0 && height > 0) {
    const std::uint32_t key = data->pixels[static_cast<std::size_t>(height - 1) * width];
    data->keyed = data->pixels;
    for (auto& p : data->keyed) {
      if (p == key) p = 0;
    }
  }
  Picture picture;
  picture.data_ = std::move(data);
  return picture;
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
