#include "tools/sim/skin_report.h"

#include <cstdio>
#include <optional>
#include <ostream>
#include <system_error>

#include "skin/gfxinit.h"
#include "tools/sim/command_line_text.h"

namespace mk::sim {
using namespace mk::skin;
namespace fs = std::filesystem;

void HeadlessSkinHost::showError(std::string_view text) { log_ << "message: " << text << '\n'; }

void HeadlessSkinHost::requestTermination() {
  terminationRequested_ = true;
  log_ << "terminate\n";
}

std::string hexColour(Colour colour) {
  char text[7];
  std::snprintf(text, sizeof text, "%02x%02x%02x", colour.red, colour.green, colour.blue);
  return text;
}

fs::path executableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : exe.parent_path();
}

namespace {

constexpr int kScreenLimit = 1 << 16;

std::optional<Size> parseScreen(std::string_view text) {
  const auto x = text.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  auto number = [](std::string_view digits) -> std::optional<int> {
    int value = 0;
    if (!parseWhole(digits, 1, kScreenLimit, value)) return std::nullopt;
    return value;
  };
  const auto width = number(text.substr(0, x));
  const auto height = number(text.substr(x + 1));
  if (!width || !height) return std::nullopt;
  return Size{*width, *height};
}

std::string describe(const lcd::Picture& picture, const lcd::Picture& placeholder) {
  if (picture.isNull()) return "none";
  if (picture.sharesDataWith(placeholder)) return "placeholder";
  return std::to_string(picture.width()) + "x" + std::to_string(picture.height());
}

const char* shown(bool visible) { return visible ? "shown" : "hidden"; }

}  // namespace

int runSkinReport(std::span<const std::string_view> args, const fs::path& configPath, std::ostream& out,
                  std::ostream& err) {
  bool fullscreen = false;
  Size screen{1920, 1080};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--skin-report") continue;
    if (arg == "--fullscreen") {
      fullscreen = true;
    } else if (arg == "--screen" && i + 1 < args.size()) {
      const auto size = parseScreen(args[++i]);
      if (!size) {
        err << "--screen wants WIDTHxHEIGHT, e.g. 1920x1080, not '" << oneLine(args[i]) << "'\n";
        return 2;
      }
      screen = *size;
    } else {
      err << "usage: marsh-keeper-sim --skin-report [--fullscreen] [--screen WIDTHxHEIGHT]\n";
      return 2;
    }
  }

  lcd::ElementModel model;
  prepareWindowElements(model);
  HeadlessSkinHost host(configPath, screen, err);
  const SkinPassResult pass = Gfx_Init_Skin(model, host, fullscreen);

  const Size client = host.clientSize();
  out << "client " << client.width << ' ' << client.height << '\n';
  out << "background " << hexColour(host.background()) << '\n';
  out << "colorkey " << (host.colourKeyOn() ? "on" : "off") << ' ' << hexColour(host.keyColour()) << '\n';
  const lcd::Element& backdrop = model[lcd::im_backdrop];
  out << "backdrop " << shown(backdrop.visible) << ' ' << (host.backdropStretch() ? "stretch" : "centre")
      << ' ' << describe(backdrop.picture, pass.placeholder) << '\n';
  const lcd::Element& logo = model[lcd::im_backdrop_logo];
  out << "logo " << shown(logo.visible) << ' ' << logo.box.left << ' ' << logo.box.top << ' '
      << describe(logo.picture, pass.placeholder) << '\n';
  const lcd::Element& menu = model[lcd::btn_game_menu_background];
  out << "gamemenu " << shown(menu.visible) << ' ' << menu.box.width << ' ' << menu.box.height << '\n';
  for (int n = 1; n <= kSkinSlotCount; ++n) {
    const lcd::ElementId id = SkinImages[static_cast<std::size_t>(n)];
    const lcd::Element& slot = model[id];
    out << "slot " << n << ' ' << lcd::nameOf(id) << ' ' << slot.box.left << ' ' << slot.box.top << ' '
        << slot.box.width << ' ' << slot.box.height << ' ' << describe(slot.picture, pass.placeholder)
        << '\n';
  }
  out.flush();
  return 0;
}

int runSkinReport(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  return runSkinReport(args, executableFolder() / "Config.ini", out, err);
}

}  // namespace mk::sim
