// A folder of one's own under the system's temporary folder, removed with
// everything in it: suites run side by side never share a file.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

struct ScratchDir {
    std::string path;

    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-sound-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path = pattern + "/";
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
};
