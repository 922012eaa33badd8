// Writes the game's sixteen texture images into a directory, and with
// --icon-dir the desktop icons (quorvane-64.png, quorvane-256.png) into
// another.
//
//   make_textures [--font-dir DIR] [--only NAME] [--icon-dir DIR] OUTDIR
//
// The output depends only on this program and the DejaVu font files, so a
// second run gives the same bytes.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bmp.h"
#include "icon.h"
#include "images.h"

namespace {

struct Entry {
    const char* name;
    int width;
    int height;
    std::function<tex::Image()> make;
};

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

std::vector<Entry> entries(const std::string& fontDir) {
    using namespace tex;
    return {
        {"stars.bmp", 2048, 1024, makeStars},
        {"nebula.bmp", 1024, 512, makeNebula},
        {"Planet.bmp", 1024, 512, makePlanet},
        {"clouds.bmp", 1024, 512, makeClouds},
        {"gasplanet.bmp", 1024, 512, makeGasPlanet},
        {"atm.bmp", 512, 256, makeAtmosphere},
        {"particlewhite.bmp", 64, 64, makeGlow},
        {"smoke.bmp", 64, 64, [] { return makeSmoke(0); }},
        {"smoke2.bmp", 64, 64, [] { return makeSmoke(1); }},
        {"smoke3.bmp", 64, 64, [] { return makeSmoke(2); }},
        {"portal1.bmp", 128, 128, [] { return makePortal(0); }},
        {"portal2.bmp", 128, 128, [] { return makePortal(1); }},
        {"Font.bmp", 256, 256, [fontDir] { return makeFontSheet(fontDir); }},
        {"crosshair7.bmp", 128, 128, makeCrosshair},
        {"logo.bmp", 512, 512, [fontDir] { return makeLogo(fontDir); }},
        {"text.bmp", 512, 128, [fontDir] { return makeTitleText(fontDir); }},
    };
}

bool writeIcons(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    for (int size : {64, 256}) {
        const std::string path = (std::filesystem::path(dir) / ("quorvane-" + std::to_string(size) + ".png")).string();
        if (!tex::writePng(path, tex::makeIcon(size))) {
            std::cerr << "make_textures: cannot write " << path << ": " << std::strerror(errno) << "\n";
            return false;
        }
    }
    return true;
}

int usage() {
    std::cerr << "usage: make_textures [--font-dir DIR] [--only NAME] [--icon-dir DIR] OUTDIR\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string fontDir = "/usr/share/fonts/truetype/dejavu";
    std::string only;
    std::string outDir;
    std::string iconDir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--font-dir" || arg == "--only") && i + 1 < argc) {
            (arg == "--font-dir" ? fontDir : only) = argv[++i];
        } else if (arg == "--icon-dir" && i + 1 < argc) {
            iconDir = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && outDir.empty()) {
            outDir = arg;
        } else {
            return usage();
        }
    }
    if (outDir.empty()) return usage();

    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::cerr << "make_textures: cannot create " << outDir << ": " << ec.message() << "\n";
        return 1;
    }

    bool found = only.empty();
    try {
        for (const Entry& e : entries(fontDir)) {
            if (!only.empty() && only != e.name) continue;
            found = true;
            const tex::Image image = e.make();
            // The game uploads rows as packed RGB, which needs these sizes.
            if (image.width != e.width || image.height != e.height || !isPowerOfTwo(image.width) ||
                !isPowerOfTwo(image.height))
                throw std::logic_error(std::string(e.name) + " came out at the wrong size");
            const std::string path = (std::filesystem::path(outDir) / e.name).string();
            if (!tex::writeBmp(path, image)) {
                std::cerr << "make_textures: cannot write " << path << ": " << std::strerror(errno) << "\n";
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "make_textures: " << error.what() << "\n";
        return 1;
    }
    if (!iconDir.empty() && !writeIcons(iconDir)) return 1;
    if (!found) {
        std::cerr << "make_textures: no image is called " << only << "\n";
        return 2;
    }
    return 0;
}
