#include "config/file_text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string system_words(int error)
{
    return std::strerror(error);
}

// What a path that is not a regular file is instead.
std::string not_a_file(mode_t mode)
{
    if (S_ISDIR(mode))
        return "it is a directory, not a file";
    if (S_ISFIFO(mode))
        return "it is a pipe, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a file";
    return "it is not a regular file";
}

std::string too_large(unsigned long long bytes, size_t most_bytes, const char* kind)
{
    return "it is " + std::to_string(bytes) + " bytes; " + kind + " may have at most " +
           std::to_string(most_bytes);
}

} // namespace

bool path_exists(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

Result<std::optional<std::string>> read_file_text(const std::string& path, size_t most_bytes, const char* kind)
{
    // Without O_NONBLOCK opening a pipe waits for a writer that never comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::optional<std::string>();
        return Failure{"it cannot be read (" + system_words(errno) + ")"};
    }
    std::string problem;
    std::string text;
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        problem = "it cannot be read (" + system_words(errno) + ")";
    } else if (!S_ISREG(status.st_mode)) {
        problem = not_a_file(status.st_mode);
    } else if (static_cast<unsigned long long>(status.st_size) > most_bytes) {
        problem = too_large(static_cast<unsigned long long>(status.st_size), most_bytes, kind);
    } else {
        // Room for one byte more than the file has, so that its end is seen;
        // a file that grows while it is read gets more, but never more than
        // one byte past the limit.
        text.resize(static_cast<size_t>(status.st_size) + 1);
        size_t got = 0;
        for (;;) {
            if (got == text.size()) {
                if (got > most_bytes)
                    break;
                text.resize(std::min(2 * got, most_bytes + 1));
            }
            const ssize_t read = ::read(fd, &text[got], text.size() - got);
            if (read < 0 && errno == EINTR)
                continue;
            if (read < 0) {
                problem = "it cannot be read (" + system_words(errno) + ")";
                break;
            }
            if (read == 0)
                break;
            got += static_cast<size_t>(read);
        }
        if (problem.empty() && got > most_bytes)
            problem = too_large(got, most_bytes, kind);
        text.resize(got);
        text.shrink_to_fit();
    }
    ::close(fd);
    if (!problem.empty())
        return Failure{problem};
    return std::optional<std::string>(std::move(text));
}
