#pragma once

#include <SDL.h>

#include <optional>
#include <string>

namespace mk::sdl {

// The SDL functions the program calls, and nothing more: the sound and the
// game controllers reach SDL only through this table. Each entry is typed
// after SDL's own declaration, so a call through it is checked as a direct
// call would be.
#define MK_SDL_FUNCTIONS(X)    \
  X(InitSubSystem)             \
  X(QuitSubSystem)             \
  X(SetHint)                   \
  X(SetHintWithPriority)       \
  X(ResetHint)                 \
  /* sound */                  \
  X(GetCurrentAudioDriver)     \
  X(OpenAudioDevice)           \
  X(CloseAudioDevice)          \
  X(PauseAudioDevice)          \
  X(LockAudioDevice)           \
  X(UnlockAudioDevice)         \
  X(RWFromFile)                \
  X(LoadWAV_RW)                \
  X(FreeWAV)                   \
  X(BuildAudioCVT)             \
  X(ConvertAudio)              \
  X(MixAudioFormat)            \
  /* game controllers */       \
  X(PumpEvents)                \
  X(PeepEvents)                \
  X(GameControllerOpen)        \
  X(GameControllerClose)       \
  X(GameControllerGetJoystick) \
  X(JoystickInstanceID)        \
  X(JoystickGetDeviceInstanceID)

struct Api {
#define MK_SDL_ENTRY(name) decltype(&::SDL_##name) name = nullptr;
  MK_SDL_FUNCTIONS(MK_SDL_ENTRY)
#undef MK_SDL_ENTRY
};

// The file the program's SDL comes from: the Debian package depends on the
// package that carries it.
inline constexpr const char* kLibraryFile = "libSDL2-2.0.so.0";

// SDL loaded from `file` with every function of the table resolved, or
// nothing, with the reason in `error`, when the library or one of the
// functions is missing. A library loaded stays mapped to the end of the
// program: SDL's own threads and exit handlers may outlive any owner.
std::optional<Api> load(const char* file, std::string& error);

// The program's SDL, loaded from kLibraryFile at the first call (from any
// thread) and kept; null when it is not available, which the first call
// tells once on the standard error. Nothing of SDL is mapped until then, so
// a start without sound maps none of the libraries SDL brings along.
const Api* library();

// What the sound and the game controllers use to reach SDL: library() in
// the program, a stand-in in the tests.
using Loader = const Api* (*)();

}  // namespace mk::sdl
