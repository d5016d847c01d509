#include "sound/sdl_library.h"

#include <gtest/gtest.h>

#include <string>

using mk::sdl::load;

// A missing library, or one without a function the program calls, is told
// apart from SDL: the program then runs without it instead of crashing.
TEST(SdlLibrary, TellsAMissingLibraryOrFunctionApartFromSdl) {
  std::string error;
  EXPECT_FALSE(load("libSDL2-no-such-version.so.7", error));
  EXPECT_NE(error.find("libSDL2-no-such-version.so.7"), std::string::npos) << error;

  error.clear();
  EXPECT_FALSE(load("libm.so.6", error)) << "a library, but not SDL";
  EXPECT_NE(error.find("SDL_InitSubSystem"), std::string::npos) << error;
  EXPECT_NE(error.find("SDL_JoystickGetDeviceInstanceID"), std::string::npos) << error;

  const std::optional<mk::sdl::Api> sdl = load(mk::sdl::kLibraryFile, error);
  ASSERT_TRUE(sdl) << error;
  EXPECT_NE(sdl->InitSubSystem, nullptr);
  EXPECT_NE(sdl->JoystickGetDeviceInstanceID, nullptr);
  ASSERT_NE(mk::sdl::library(), nullptr);
  EXPECT_EQ(mk::sdl::library(), mk::sdl::library()) << "loaded once";
  EXPECT_EQ(mk::sdl::library()->MixAudioFormat, sdl->MixAudioFormat);
}
