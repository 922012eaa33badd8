#include "assets/textures.h"

#include "core/platform.h"
#include "assets/bmp.h"

#include <GL/gl.h>

// ---- types -----------------------------------------------------------------

struct TextureFile {
    const char* path;
    TextureId   slot;
};

// ---- state -----------------------------------------------------------------

// In load order. particlewhite.bmp opens both the trail and the blast sets,
// so it fills two separate texture objects.
static constexpr TextureFile kTextureTable[] = {
    {"textures/stars.bmp", TEX_STARS},
    {"textures/Planet.bmp", TEX_PLANET},
    {"textures/clouds.bmp", TEX_CLOUDS},
    {"textures/nebula.bmp", TEX_NEBULA},
    {"textures/atm.bmp", TEX_ATM},
    {"textures/gasplanet.bmp", TEX_GASPLANET},
    {"textures/particlewhite.bmp", TEX_TRAIL_0},
    {"textures/smoke2.bmp", TEX_TRAIL_1},
    {"textures/smoke3.bmp", TEX_TRAIL_2},
    {"textures/smoke.bmp", TEX_TRAIL_3},
    {"textures/particlewhite.bmp", TEX_BLAST_0},
    {"textures/portal1.bmp", TEX_BLAST_1},
    {"textures/portal2.bmp", TEX_BLAST_2},
    {"textures/Font.bmp", TEX_FONT},
    {"textures/crosshair7.bmp", TEX_CROSSHAIR},
    {"textures/logo.bmp", TEX_LOGO},
    {"textures/text.bmp", TEX_TITLE_TEXT},
};

// ---- functions -------------------------------------------------------------

// Image rows are packed, so any width uploads unskewed with an alignment of
// one; the caller's pixel-store state is put back afterwards.
static void uploadImage(const Image& image)
{
    GLint savedAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, static_cast<GLsizei>(image.width),
                 static_cast<GLsizei>(image.height), 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
}

void loadTexture(const std::string& path, TextureId slot)
{
    Image image;
    if (!loadBMP(path, image))
        sysExit(1);
    glBindTexture(GL_TEXTURE_2D, slot);
    uploadImage(image);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}

void loadAllTextures()
{
    for (const TextureFile& file : kTextureTable)
        loadTexture(file.path, file.slot);
}
