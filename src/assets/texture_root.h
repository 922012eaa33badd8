// Finding the folder that holds the game's `textures` directory, so the game
// starts from any working directory.
#pragma once

#include <filesystem>

// ---- functions -------------------------------------------------------------

// The first of these that holds a `textures` directory: the working
// directory, the executable's directory (the build tree), the installed data
// directory beside it (<prefix>/share/games/quorvane for <prefix>/games/quorvane
// or <prefix>/bin/quorvane).
// Empty when none does.
std::filesystem::path findTextureRoot(const std::filesystem::path& workingDir,
                                      const std::filesystem::path& executable);

// The same search for another folder of the game's data (`sounds`).
std::filesystem::path findDataRoot(const std::filesystem::path& workingDir,
                                   const std::filesystem::path& executable, const char* folder);

// Makes the texture root of this process the working directory, so the
// table's relative paths open. Returns false, and leaves the working
// directory alone, when no root is found.
bool enterTextureRoot();
