// The manual window's pages: what creating the window costs (finding and
// checking the twelve files) and what it leaves held, and what a page turn
// costs now that it decodes the page it turns to and draws it as the page
// view does. A turn must stay well inside one frame.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "skin/compositor.h"
#include "skin/gfxinit.h"

namespace {
namespace fs = std::filesystem;
using namespace mk;

// The default skin's pages, found as the program finds them.
fs::path enterDataFolder() {
  fs::current_path(MK_DATA_DIR);
  return fs::path(MK_DATA_DIR) / "Config.ini";
}

std::size_t heapInUse() {
  const struct mallinfo2 heap = mallinfo2();
  return heap.uordblks + heap.hblkhd;
}

void BM_ManualWindowPages(benchmark::State& state) {
  const fs::path config = enterDataFolder();
  double held = 0;
  for (auto _ : state) {
    const std::size_t before = heapInUse();
    const skin::ManualPages pages = skin::Gfx_Init_Manual(config);
    held = static_cast<double>(heapInUse() - before);
    benchmark::DoNotOptimize(&pages);
    if (!pages.error.empty()) state.SkipWithError(pages.error.c_str());
  }
  state.counters["heldBytes"] = held;
}
BENCHMARK(BM_ManualWindowPages)->Unit(benchmark::kMillisecond);

// Forward through the leaflet and round again; each turn lets go of the page
// before, as the viewer does.
void BM_ManualPageTurn(benchmark::State& state) {
  skin::ManualPages pages = skin::Gfx_Init_Manual(enterDataFolder());
  QImage window(pages.clientSize.width, pages.clientSize.height, QImage::Format_ARGB32_Premultiplied);
  lcd::Picture shown;
  int n = 0;
  for (auto _ : state) {
    n = n % 12 + 1;
    shown = lcd::Picture();
    skin::ShownManualPage page = pages.pageToShow(n);
    if (!page.error.empty()) state.SkipWithError(page.error.c_str());
    shown = std::move(page.picture);
    QPainter painter(&window);
    painter.fillRect(window.rect(), Qt::white);
    painter.drawImage(0, 0, skin::imageView(shown, false));
  }
  state.counters["heldBytes"] = static_cast<double>(shown.width()) * shown.height() * 4;
}
BENCHMARK(BM_ManualPageTurn)->Unit(benchmark::kMillisecond);

}  // namespace
