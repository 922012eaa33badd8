#pragma once

#include "synth.h"

namespace snd {

Sound makeLaunch();
Sound makeEngine();     // a seamless loop
Sound makeZap();
Sound makeExplosion();
Sound makeImpact();
Sound makeCrash();
Sound makeGameOver();
Sound makeTitle();      // a seamless loop

}  // namespace snd
