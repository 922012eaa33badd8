// The texture table: every image of the game, loaded once at start-up into
// a texture object whose fixed name is its slot number.
#pragma once

#include <string>

// ---- types -----------------------------------------------------------------

using TextureId = unsigned int;  // slot number and OpenGL texture name alike

// ---- constants -------------------------------------------------------------

constexpr TextureId TEX_STARS = 1;
constexpr TextureId TEX_PLANET = 2;
constexpr TextureId TEX_CLOUDS = 4;
constexpr TextureId TEX_NEBULA = 5;
constexpr TextureId TEX_ATM = 6;
constexpr TextureId TEX_GASPLANET = 7;
constexpr TextureId TEX_TRAIL_0 = 8;   // trails pick 8 + (r mod 4)
constexpr TextureId TEX_TRAIL_1 = 9;
constexpr TextureId TEX_TRAIL_2 = 10;
constexpr TextureId TEX_TRAIL_3 = 11;
constexpr TextureId TEX_BLAST_0 = 12;  // explosions pick 12 + (r mod 3)
constexpr TextureId TEX_BLAST_1 = 13;
constexpr TextureId TEX_BLAST_2 = 14;
constexpr TextureId TEX_FONT = 15;
constexpr TextureId TEX_CROSSHAIR = 16;
constexpr TextureId TEX_LOGO = 17;
constexpr TextureId TEX_TITLE_TEXT = 18;

// ---- functions -------------------------------------------------------------

// Loads one BMP file into one slot; returns only on success. An unreadable
// file ends the program with status 1 after the reader's message.
void loadTexture(const std::string& path, TextureId slot);

// Loads every image of the table in slot order, paths relative to the
// working directory. The last slot stays bound.
void loadAllTextures();
