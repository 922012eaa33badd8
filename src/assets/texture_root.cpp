#include "assets/texture_root.h"

#include <system_error>

namespace fs = std::filesystem;

// ---- constants -------------------------------------------------------------

// The installed data directory as seen from the installed executable's
// directory; the build passes its own layout.
#ifndef QUORVANE_DATA_FROM_BIN
#define QUORVANE_DATA_FROM_BIN "../share/games/quorvane"
#endif

// ---- functions -------------------------------------------------------------

static bool holds(const fs::path& dir, const char* folder)
{
    std::error_code error;
    return !dir.empty() && fs::is_directory(dir / folder, error);
}

fs::path findDataRoot(const fs::path& workingDir, const fs::path& executable, const char* folder)
{
    const fs::path exeDir = executable.parent_path();
    if (holds(workingDir, folder))
        return workingDir;
    if (exeDir.empty())
        return {};
    for (const fs::path& dir : {exeDir, (exeDir / QUORVANE_DATA_FROM_BIN).lexically_normal()})
        if (holds(dir, folder))
            return dir;
    return {};
}

fs::path findTextureRoot(const fs::path& workingDir, const fs::path& executable)
{
    return findDataRoot(workingDir, executable, "textures");
}

bool enterTextureRoot()
{
    std::error_code error;
    const fs::path workingDir = fs::current_path(error);
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    const fs::path root = findTextureRoot(workingDir, executable);
    if (root.empty())
        return false;
    fs::current_path(root, error);
    return !error;
}
