#pragma once
#include <string>

#include "bmp.h"

namespace tex {

// The sky: stars on black, and the coloured clouds added over them.
Image makeStars();
Image makeNebula();

// Equirectangular maps for the spheres; all wrap at the left/right edge.
Image makePlanet();
Image makeClouds();
Image makeGasPlanet();
Image makeAtmosphere();

// Additive sprites: black at every edge.
Image makeGlow();
Image makeSmoke(int variant);   // 0, 1, 2
Image makePortal(int variant);  // 0, 1
Image makeCrosshair();

// Lettering, drawn with the DejaVu faces found in fontDir.
Image makeFontSheet(const std::string& fontDir);
Image makeLogo(const std::string& fontDir);
Image makeTitleText(const std::string& fontDir);

}  // namespace tex
