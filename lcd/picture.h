#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace mk::lcd {

// Where a picture came from decides how a transparent element draws it:
// PNG pictures carry their own alpha; a bitmap drawn in a transparent element
// loses every pixel of its bottom-left pixel's colour; JPEG is always opaque.
enum class PictureKind { Bitmap, Png, Jpeg };

// A decoded picture: size and premultiplied ARGB32 pixels (0xAARRGGBB in a
// uint32_t, the layout of QImage::Format_ARGB32_Premultiplied), shared and
// immutable, so copying one is cheap and a "copy" of a glyph is the glyph.
class Picture {
 public:
  Picture() = default;

  // premultipliedArgb must hold width * height pixels, row by row.
  static Picture fromPixels(int width, int height, std::vector<std::uint32_t> premultipliedArgb,
                            PictureKind kind);

  // The stand-in for a configured picture file that does not exist:
  // 10 x 10, a black one-pixel ring around red.
  static Picture placeholder();

  bool isNull() const { return !data_; }
  int width() const { return data_ ? data_->width : 0; }
  int height() const { return data_ ? data_->height : 0; }
  PictureKind kind() const { return data_ ? data_->kind : PictureKind::Bitmap; }

  // Pixels as decoded (opaque elements draw these).
  const std::uint32_t* pixels() const { return data_ ? data_->pixels.data() : nullptr; }

  // Pixels as a transparent element draws them: for a bitmap, the decoded
  // pixels with the bottom-left pixel's colour made see-through; for PNG and
  // JPEG the decoded pixels themselves. Worked out on first use and kept, so
  // pictures only ever drawn opaque (buttons, manual pages) hold one copy.
  // The program draws on one thread only.
  const std::uint32_t* transparentPixels() const;

  std::uint32_t pixel(int x, int y) const { return pixels()[y * width() + x]; }

  // True when both refer to the very same decoded pixels (or both are empty).
  bool sharesDataWith(const Picture& other) const { return data_ == other.data_; }

 private:
  struct Data {
    int width = 0;
    int height = 0;
    PictureKind kind = PictureKind::Bitmap;
    std::vector<std::uint32_t> pixels;
    mutable std::vector<std::uint32_t> keyed;  // a bitmap's see-through form, once asked for
    mutable bool keyedReady = false;
  };
  std::shared_ptr<const Data> data_;
};

}  // namespace mk::lcd
