// One decoder (chosen at build time) over arbitrary bytes. Besides the
// sanitizers' findings, a decoded picture must respect the limits and the
// picture kind's promises, and a decoder's check without decoding must agree
// with it.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "skin/decode.h"

#include "require.h"

namespace {

// Far narrower than the program's limits. A header claiming a big picture is
// refused before any pixel is decoded, so the decoders' own limit paths are
// still taken; what is decoded stays small enough that the fuzzer spends its
// time in header and chunk parsing, where the faults are, instead of filling
// and checking megabytes of pixels.
constexpr mk::skin::DecodeLimits kLimits{1024, 256u << 10};

void requireKindPromises(const mk::lcd::Picture& picture) {
  const bool png = picture.kind() == mk::lcd::PictureKind::Png;
  const std::uint32_t* pixels = picture.pixels();
  bool ok = true;
  for (int i = 0, n = picture.width() * picture.height(); i < n; ++i) {
    const std::uint32_t p = pixels[i];
    const std::uint32_t alpha = p >> 24;
    // Opaque unless PNG; PNG premultiplied: no channel above its alpha.
    ok &= png ? (((p >> 16) & 0xFF) <= alpha && ((p >> 8) & 0xFF) <= alpha && (p & 0xFF) <= alpha) : alpha == 255;
  }
  MK_REQUIRE(ok);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const mk::skin::DecodeResult result = mk::skin::MK_FUZZ_DECODER({data, size}, kLimits);
#ifdef MK_FUZZ_CHECK
  // The check without decoding: what it refuses, decoding refuses in the same
  // words, and what decodes passes it.
  const std::optional<std::string> check = mk::skin::MK_FUZZ_CHECK({data, size}, kLimits);
  MK_REQUIRE(result.ok() ? !check : (!check || *check == result.error));
#endif
  if (!result.ok()) {
    MK_REQUIRE(result.picture.isNull());
    return 0;
  }
  const mk::lcd::Picture& picture = result.picture;
  MK_REQUIRE(!picture.isNull() && picture.width() > 0 && picture.height() > 0);
  MK_REQUIRE(picture.width() <= kLimits.maxSide && picture.height() <= kLimits.maxSide);
  MK_REQUIRE(std::uint64_t(picture.width()) * std::uint64_t(picture.height()) * 4 <= kLimits.maxBytes);
  requireKindPromises(picture);
  return 0;
}
