#include "progress/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
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

// Opens a new file beside `path` that no other writer has: the process's
// number and a count make the name unique among the writers alive, and
// O_EXCL passes over a leftover of a killed run whose number came round
// again. Not mkstemp: its files are 0600, and these get the usual mode.
int open_new_file(const std::string& path, std::string& name)
{
    static std::atomic<unsigned> count{0};
    constexpr int MOST_TRIES = 100;
    for (int tries = 0; tries < MOST_TRIES; ++tries) {
        name = path + ".new." + std::to_string(::getpid()) + "." + std::to_string(count++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

Result<> replace_file_atomically(const std::string& path, const std::string& text)
{
    std::string fresh;
    const int fd = open_new_file(path, fresh);
    if (fd < 0)
        return Failure{system_words()};
    const bool written = write_all(fd, text) && ::fsync(fd) == 0;
    std::string problem = written ? "" : system_words();
    ::close(fd);
    if (!written || ::rename(fresh.c_str(), path.c_str()) != 0) {
        if (written)
            problem = system_words();
        ::unlink(fresh.c_str());
        return Failure{problem};
    }
    // Without this the rename may be lost in a crash even though the data
    // is on the disk; a folder that cannot be synced is no reason to fail.
    const int folder = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return Done{};
}

Result<std::string> move_aside(const std::string& path, const std::string& suffix)
{
    constexpr int MOST_TRIES = 1000;
    bool hard_links = true;
    for (int number = 1; number <= MOST_TRIES; ++number) {
        const std::string aside = path + suffix + (number == 1 ? "" : "." + std::to_string(number));
        if (hard_links) {
            // A hard link fails rather than replace what is there.
            if (::link(path.c_str(), aside.c_str()) == 0) {
                ::unlink(path.c_str());
                return aside;
            }
            if (errno == EEXIST)
                continue;
            if (errno != EPERM && errno != EOPNOTSUPP)
                return Failure{system_words()};
            hard_links = false;
        }
        // FAT and some network and FUSE file systems have no hard links.
        // A rename that refuses to replace does the same in one step; never
        // a plain rename after looking that the name is free, which a file
        // made in between would lose. Where the file system cannot refuse
        // (EINVAL), the file stays where it is.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno != EEXIST)
            return Failure{system_words()};
    }
    return Failure{system_words()}; // errno is EEXIST: every name is taken
}
