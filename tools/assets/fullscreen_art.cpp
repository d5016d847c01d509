#include "tools/assets/generators.h"
#include "tools/assets/skin.h"
namespace mk::assets {
}
namespace mk::assets { void writeFullscreenArt(const Paths&) {} }
