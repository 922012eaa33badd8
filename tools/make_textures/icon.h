#pragma once
#include "png.h"

namespace tex {

// The desktop icon: a missile streaking at the planet and a shot's hit, on
// a round plate; transparent outside it. Drawn anew at each size.
RgbaImage makeIcon(int size);

}  // namespace tex
