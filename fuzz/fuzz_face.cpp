// The face as the window shows it, composed from a fuzzed skin: Config.ini,
// its reader, the picture decoders, the layout of one or two skin passes and
// the compositor, over the elements the passes leave shown or over every
// element (the input's last byte chooses; see splitSkinRun). The window is bounded (a small screen,
// and no side beyond kMaxSide) so that a skin asking for a huge window costs
// a fuzzing run no more than a small one; the layout still sees every
// coordinate the skin writes.
#include <QImage>

#include <cstdint>

#include "lcd/element_model.h"
#include "skin/compositor.h"
#include "skin/gfxinit.h"

#include "require.h"
#include "skin_folder.h"

using namespace mk;

namespace {

// Small enough that a face is an ordinary allocation: larger blocks are
// mapped and unmapped for each input by the sanitizer's allocator, and that
// costs more than composing them.
constexpr int kMaxSide = 160;
constexpr skin::Size kScreen{160, 120};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::SkinRun run = fuzz::splitSkinRun({data, size});
  if (!fuzz::staysInside(run.config)) return -1;  // not added to the corpus
  fuzz::enterSkinFolder("face");
  fuzz::writeConfig(run.config);

  lcd::ElementModel model;
  skin::prepareWindowElements(model);
  fuzz::FuzzHost host(kScreen, kMaxSide);
  skin::Gfx_Init_Skin(model, host, run.fullscreenFirst);
  if (run.switchMode) skin::Gfx_Init_Skin(model, host, !run.fullscreenFirst);
  if (run.showEverything) {
    // Every element shown and every digit lit: the most a face ever draws at once.
    for (std::size_t i = 0; i < lcd::kElementCount; ++i) model.show(static_cast<lcd::ElementId>(i));
    for (int position = 1; position <= 4; ++position) model.setDigit(position, 8);
  }

  const skin::FaceLook look{host.clientSize(), host.background(), host.backdropStretch()};
  const QImage face = skin::composeFace(model, look);
  const bool drawable = look.client.width > 0 && look.client.height > 0;
  MK_REQUIRE(face.isNull() != drawable);
  if (drawable) {
    MK_REQUIRE(face.width() == look.client.width && face.height() == look.client.height);
    MK_REQUIRE(face.format() == QImage::Format_RGB32);
  }
  return 0;
}
