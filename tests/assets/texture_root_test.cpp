#include "assets/texture_root.h"

#include "bmp_writer.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

// The working directory first, then the executable's folder (a build tree),
// then the data folder installed beside it; a file is not a folder.
TEST(TextureRoot, WorkingDirectoryThenTheExecutablesFolderThenTheInstalledData)
{
    const TempDir temp;
    const fs::path work = temp.path / "work", build = temp.path / "build", prefix = temp.path / "prefix";
    for (const fs::path& dir : {work, prefix / "bin", build / "textures", prefix / "share/games/quorvane/textures"})
        fs::create_directories(dir);
    writeFile(work / "textures", {1});
    EXPECT_EQ(findTextureRoot(work, build / "quorvane"), build);
    EXPECT_EQ(findTextureRoot(work, prefix / "bin/quorvane"), prefix / "share/games/quorvane");
    EXPECT_EQ(findTextureRoot(work, work / "quorvane"), fs::path());

    fs::create_directory(prefix / "bin/textures");
    EXPECT_EQ(findTextureRoot(work, prefix / "bin/quorvane"), prefix / "bin");
    fs::remove(work / "textures");
    fs::create_directory(work / "textures");
    EXPECT_EQ(findTextureRoot(work, build / "quorvane"), work);
}
