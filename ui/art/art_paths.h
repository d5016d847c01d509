#pragma once

// Resource paths of the windows' own artwork (embedded through art.qrc).

namespace mk::ui::art {

// Splash dialog: backdrop (460 x 420), packaging (220 x 116, shown centred in
// its box), Play in blue and in grey, and the button that opens the Readme
// (each 107 x 30).
inline constexpr const char* kSplashBackdrop = ":/art/splash_backdrop.bmp";
inline constexpr const char* kSplashBox = ":/art/splash_box.jpg";
inline constexpr const char* kSplashPlay = ":/art/splash_play.png";
inline constexpr const char* kSplashPlayDisabled = ":/art/splash_play_disabled.png";
inline constexpr const char* kSplashReadme = ":/art/splash_readme.png";

// In-game menu: 256 x 512, title strip in rows 0 to 31, translucent below.
inline constexpr const char* kGameMenu = ":/art/game_menu.png";

// About dialog: the project's emblem, 116 x 160.
inline constexpr const char* kAboutEmblem = ":/art/about_emblem.png";

// Manual viewer: 16 x 14 buttons, released ("up") and pressed ("down").
inline constexpr const char* kManualNextUp = ":/art/manual_next_up.png";
inline constexpr const char* kManualNextDown = ":/art/manual_next_down.png";
inline constexpr const char* kManualPreviousUp = ":/art/manual_previous_up.png";
inline constexpr const char* kManualPreviousDown = ":/art/manual_previous_down.png";
inline constexpr const char* kManualCloseUp = ":/art/manual_close_up.png";
inline constexpr const char* kManualCloseDown = ":/art/manual_close_down.png";

// Application icon, square, in the sizes 16, 24, 32, 48, 64, 128 and 256.
inline constexpr const char* kIconPattern = ":/art/icons/marsh-keeper-%1.png";

}  // namespace mk::ui::art
