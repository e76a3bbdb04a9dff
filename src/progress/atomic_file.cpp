#include "progress/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string system_words() { return std::strerror(errno); }

std::string folder_of(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool write_all(int fd, const std::string& text)
{
    for (size_t written = 0; written < text.size();) {
        const ssize_t wrote = ::write(fd, text.data() + written, text.size() - written);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        written += static_cast<size_t>(wrote);
    }
    return true;
}

} // namespace

bool replace_file_atomically(const std::string& path, const std::string& text, std::string& problem)
{
    // One writer at a time is all the game ever has, so a fixed name for the
    // new file is enough; a leftover from a killed run is simply replaced.
    const std::string fresh = path + ".new";
    const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        problem = system_words();
        return false;
    }
    const bool written = write_all(fd, text) && ::fsync(fd) == 0;
    if (!written)
        problem = system_words();
    ::close(fd);
    if (!written || ::rename(fresh.c_str(), path.c_str()) != 0) {
        if (written)
            problem = system_words();
        ::unlink(fresh.c_str());
        return false;
    }
    // Without this the rename may be lost in a crash even though the data
    // is on the disk; a folder that cannot be synced is no reason to fail.
    const int folder = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

std::string move_aside(const std::string& path, const std::string& suffix)
{
    constexpr int MOST_TRIES = 1000;
    for (int number = 1; number <= MOST_TRIES; ++number) {
        const std::string aside = path + suffix + (number == 1 ? "" : "." + std::to_string(number));
        // A hard link fails rather than replace what is there.
        if (::link(path.c_str(), aside.c_str()) == 0) {
            ::unlink(path.c_str());
            return aside;
        }
        if (errno != EEXIST)
            return "";
    }
    return "";
}
