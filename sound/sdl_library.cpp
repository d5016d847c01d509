#include "sound/sdl_library.h"

#include <dlfcn.h>

#include <cstdio>

namespace mk::sdl {

std::optional<Api> load(const char* file, std::string& error) {
  // RTLD_LOCAL: SDL's names stay out of the program's namespace; the table
  // is the only way in.
  void* handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    error = why ? why : std::string(file) + ": cannot be loaded";
    return std::nullopt;
  }
  Api api;
  std::string missing;
#define MK_SDL_RESOLVE(name)                                                    \
  api.name = reinterpret_cast<decltype(api.name)>(dlsym(handle, "SDL_" #name)); \
  if (!api.name) missing += missing.empty() ? "SDL_" #name : ", SDL_" #name;
  MK_SDL_FUNCTIONS(MK_SDL_RESOLVE)
#undef MK_SDL_RESOLVE
  if (!missing.empty()) {
    error = std::string(file) + " lacks " + missing;
    dlclose(handle);
    return std::nullopt;
  }
  return api;
}

const Api* library() {
  // A function-local static: loaded once, whichever thread asks first.
  static const std::optional<Api> loaded = [] {
    std::string error;
    std::optional<Api> api = load(kLibraryFile, error);
    if (!api) std::fprintf(stderr, "marsh-keeper: no sound and no game controllers: %s\n", error.c_str());
    return api;
  }();
  return loaded ? &*loaded : nullptr;
}

}  // namespace mk::sdl
