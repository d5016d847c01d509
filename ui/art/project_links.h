#pragma once

// Where the links of the splash and about dialogs lead. The project has no
// public home yet, so every link opens one of its own documents (resolved
// against the game's folder like the menu's documents). Change them here,
// and only here, when that changes.

#include <string_view>

namespace mk::ui::links {

struct Link {
  std::string_view text;    // what the dialog shows
  std::string_view target;  // what the shell is asked to open
};

// "website:" on the splash dialog, "Website:" on the about dialog.
inline constexpr Link kWebsite{"Readme.txt", "Readme.txt"};
// "email:" / "Email:": there is no mail address; the Readme says how to reach the project.
inline constexpr Link kContact{"see Readme.txt", "Readme.txt"};
// The splash dialog's third button (it reads "Readme").
inline constexpr Link kProjectPage{"Readme", "Readme.txt"};
// What is new in this version.
inline constexpr Link kWhatsNew{"Whatsnew.txt", "Whatsnew.txt"};

}  // namespace mk::ui::links
