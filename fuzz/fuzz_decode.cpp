// One decoder (chosen at build time) over arbitrary bytes. Besides the
// sanitizers' findings, a decoded picture must respect the limits and the
// picture kind's promises.
#include <cstdint>
#include <cstdlib>

#include "skin/decode.h"

namespace {

// Narrower than the program's limits so that a header claiming a big picture
// costs milliseconds, not seconds, and the fuzzer keeps its pace.
constexpr mk::skin::DecodeLimits kLimits{4096, 16u << 20};

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const mk::skin::DecodeResult result = mk::skin::MK_FUZZ_DECODER({data, size}, kLimits);
  if (!result.ok()) {
    require(result.picture.isNull());
    return 0;
  }
  const mk::lcd::Picture& picture = result.picture;
  require(!picture.isNull() && picture.width() > 0 && picture.height() > 0);
  require(picture.width() <= kLimits.maxSide && picture.height() <= kLimits.maxSide);
  require(std::uint64_t(picture.width()) * std::uint64_t(picture.height()) * 4 <= kLimits.maxBytes);
  const bool png = picture.kind() == mk::lcd::PictureKind::Png;
  for (int i = 0, n = picture.width() * picture.height(); i < n; ++i) {
    const std::uint32_t p = picture.pixels()[i];
    const std::uint32_t alpha = p >> 24;
    if (!png) {
      require(alpha == 255);
    } else {
      // Premultiplied: no channel above its alpha.
      require(((p >> 16) & 0xFF) <= alpha && ((p >> 8) & 0xFF) <= alpha && (p & 0xFF) <= alpha);
    }
  }
  return 0;
}
