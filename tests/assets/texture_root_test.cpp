#include "assets/texture_root.h"

#include "bmp_writer.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

// A working directory, a build tree and an installed prefix side by side.
class TextureRootTest : public ::testing::Test {
protected:
    fs::path folder(const std::string& name, bool withTextures)
    {
        const fs::path dir = temp.path() / name;
        fs::create_directories(withTextures ? dir / "textures" : dir);
        return dir;
    }

    TempDir temp;
    const fs::path work = folder("work", false);
    const fs::path build = folder("build", true);
    const fs::path prefix = folder("prefix/bin", false).parent_path();
    const fs::path installed = folder("prefix/share/games/quorvane", true);
};

TEST_F(TextureRootTest, WorkingDirectoryComesFirst)
{
    fs::create_directory(work / "textures");
    EXPECT_EQ(findTextureRoot(work, build / "quorvane"), work);
    EXPECT_EQ(findTextureRoot(work, prefix / "bin" / "quorvane"), work);
}

TEST_F(TextureRootTest, ThenTheExecutablesFolderThenTheInstalledData)
{
    EXPECT_EQ(findTextureRoot(work, build / "quorvane"), build);
    EXPECT_EQ(findTextureRoot(work, prefix / "bin" / "quorvane"), installed);
    fs::create_directory(prefix / "bin" / "textures");
    EXPECT_EQ(findTextureRoot(work, prefix / "bin" / "quorvane"), prefix / "bin");
}

TEST_F(TextureRootTest, OnlyAFolderOrALinkToOneCounts)
{
    const fs::path bare = folder("bare", false);
    writeFile(work / "textures", {1});
    EXPECT_EQ(findTextureRoot(work, bare / "quorvane"), fs::path());
    EXPECT_EQ(findTextureRoot(work, fs::path()), fs::path());

    fs::create_directory_symlink(temp.path() / "missing", bare / "textures");
    EXPECT_EQ(findTextureRoot(work, bare / "quorvane"), fs::path());
    fs::remove(bare / "textures");
    fs::create_directory_symlink(build / "textures", bare / "textures");
    EXPECT_EQ(findTextureRoot(work, bare / "quorvane"), bare);
}
