#include "core/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

// ---- functions -------------------------------------------------------------

int openOutputFile(const std::string& path, const std::string& name, bool& created, std::string& error)
{
    created = false;
    struct stat info;
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            error = name + ": is not a regular file";
            return -1;
        }
    } else if (errno == ENOENT) {
        created = true;
    } else {
        error = name + ": " + std::strerror(errno);
        return -1;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = name + ": " + std::strerror(errno);
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = name + ": is not a regular file";
        return -1;
    }
    return fd;
}

// The reason a file with this status is not one to read, or empty.
static std::string notReadable(const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        return "is a directory";
    if (!S_ISREG(info.st_mode))
        return "is not a regular file (a pipe, a device or a socket holds no recording)";
    return "";
}

std::FILE* openInputFile(const std::string& path, std::string& error)
{
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    error = notReadable(info);
    if (!error.empty())
        return nullptr;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    std::FILE* file = nullptr;
    if (::fstat(fd, &info) != 0)
        error = std::strerror(errno);
    else
        error = notReadable(info);
    if (error.empty() && ::fcntl(fd, F_SETFL, 0) == 0)
        file = ::fdopen(fd, "rb");
    if (!file) {
        if (error.empty())
            error = std::strerror(errno);
        ::close(fd);
    }
    return file;
}
