// A whole skin pass over a fuzzed Config.ini: windowed or full-screen, then
// perhaps a second pass in the other mode, and perhaps the manual's page
// loader (the input's last byte chooses; see splitSkinRun).
#include <cstdint>

#include "lcd/element_model.h"
#include "skin/gfxinit.h"

#include "require.h"
#include "skin_folder.h"

using namespace mk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::SkinRun run = fuzz::splitSkinRun({data, size});
  if (!fuzz::staysInside(run.config)) return -1;  // not added to the corpus
  fuzz::enterSkinFolder("skin");
  const auto config = fuzz::writeConfig(run.config);

  lcd::ElementModel model;
  skin::prepareWindowElements(model);
  fuzz::FuzzHost host;
  // The file is there, so it is found, whatever it holds.
  MK_REQUIRE(skin::Gfx_Init_Skin(model, host, run.fullscreenFirst).outcome != skin::SkinPassOutcome::ConfigMissing);
  if (run.switchMode) {
    MK_REQUIRE(skin::Gfx_Init_Skin(model, host, !run.fullscreenFirst).outcome !=
               skin::SkinPassOutcome::ConfigMissing);
  }
  if (run.loadManual) {
    skin::ManualPages manual = skin::Gfx_Init_Manual(config);
    for (int n = 1; n <= 12; ++n) {
      const skin::ShownManualPage page = manual.pageToShow(n);
      // A page that fails to decode shows the placeholder.
      MK_REQUIRE(page.error.empty() || page.picture.sharesDataWith(manual.placeholder));
    }
  }
  return 0;
}
