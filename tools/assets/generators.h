#pragma once

#include "tools/assets/kit.h"

namespace mk::assets {

struct Skin;

void writeSounds(const Paths& paths);
void writeFullscreenArt(const Paths& paths);
void writeWindowArt(const Paths& paths, const Skin& skin);
void writeManual(const Paths& paths, const Skin& skin);
void writeDocuments(const Paths& paths);

}  // namespace mk::assets
