#include "progress/progress_file.h"

#include "config/config_file.h"
#include "config/file_text.h"
#include "progress/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr const char* SENTRY = "EndConfigFile";
constexpr const char* KEY_PREFIX = "level_";
constexpr int32_t MOST_LAUNCHES = 1000000; // more than any level can need
constexpr const char* KEPT = "; this run's progress is not saved, and the file is kept as it is.";

// What is wrong with the text; "" when it is sound. It ends with the sentry
// on a line of its own, and every line before that is blank, a note or a
// "level_N = launches": so garbage is seen as well as a file cut short.
std::string fault_in(const std::string& text, Progress& progress)
{
    std::string fault;
    int line_number = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, end - at);
        line = trim(line.substr(0, line.find('#')));
        at = end + 1;
        ++line_number;
        if (line == SENTRY)
            return fault;
        if (line.empty() || !fault.empty())
            continue;
        const size_t equals = line.find('=');
        const std::string key = trim(line.substr(0, equals));
        const std::string value = equals == std::string::npos ? "" : trim(line.substr(equals + 1));
        const size_t prefix = std::strlen(KEY_PREFIX);
        const int32_t level = key.rfind(KEY_PREFIX, 0) == 0 ? whole_number(key.substr(prefix)).value_or(0) : 0;
        const int32_t launches = whole_number(value).value_or(0);
        if (level <= 0 || launches <= 0 || launches > MOST_LAUNCHES)
            fault = "line " + std::to_string(line_number) + " is not a \"level_N = launches\" line";
        else
            progress.record(level, launches);
    }
    // Said over a bad line found before: a file cut short is most likely
    // broken where it was cut.
    return "it is cut short: it does not end with " + std::string(SENTRY);
}

// The file as it is now. Through the bounded reader: a link to /dev/zero,
// a pipe or a file of gigabytes is refused at once, never read for ever.
struct Found {
    enum { NOTHING, SOUND, UNREADABLE, BROKEN } what = NOTHING;
    Progress progress;
    std::string fault; // why it is unreadable or broken
};

Found find_progress(const std::string& file_name)
{
    const Result<std::optional<std::string>> file = read_file_text(file_name, MOST_SETTINGS_BYTES, "a progress file");
    Found found;
    if (file && !file.value())
        return found;
    if (!file) {
        found.what = Found::UNREADABLE;
        found.fault = file.problem();
        return found;
    }
    found.fault = fault_in(*file.value(), found.progress);
    found.what = found.fault.empty() ? Found::SOUND : Found::BROKEN;
    return found;
}

// The writers' lock: an exclusive flock, held while the file is read again
// and replaced, so that two games never both read the old file and each
// write only their own. It is on a file of its own that stays, never on the
// progress file: that name gets a new file at each rename, and a writer
// that waited on the old one would hold a lock no one else looks at.
class WriteLock {
public:
    explicit WriteLock(const std::string& file_name)
        : fd(::open((file_name + LOCK_SUFFIX).c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644))
    {
        int locked = fd < 0 ? -1 : 0;
        while (fd >= 0 && (locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (locked != 0)
            why = std::strerror(errno);
    }
    ~WriteLock()
    {
        if (fd >= 0)
            ::close(fd);
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    std::string why; // empty when the lock is held

private:
    int fd;
};

} // namespace

ProgressRead read_progress(const std::string& file_name)
{
    Found found = find_progress(file_name);
    if (found.what == Found::BROKEN) {
        // Under the writers' lock, looked at again: a game that has put a
        // sound file there since must not see it moved aside. Without the
        // lock (a directory that cannot hold it) nothing can be moved anyway.
        const WriteLock lock(file_name);
        found = find_progress(file_name);
        if (found.what == Found::BROKEN) {
            const Result<std::string> aside = move_aside(file_name, BROKEN_SUFFIX);
            return {Failure{file_name + ": " + found.fault + "; " +
                            (aside ? "it is kept as " + aside.value() + ", playing as a new player."
                                   : "it cannot be moved aside (" + aside.problem() + ")" + KEPT)},
                    !aside};
        }
    }
    if (found.what == Found::UNREADABLE)
        return {Failure{file_name + ": " + found.fault + KEPT}, true};
    return {found.progress, false};
}

std::string progress_text(const Progress& progress)
{
    std::ostringstream text;
    text << "# Tirak's saved progress: each level solved, with the fewest launches it\n"
            "# took. The game writes this file whole whenever a level is solved.\n";
    for (const auto& [level, launches] : progress.best_launches)
        text << KEY_PREFIX << level << " = " << launches << "\n";
    text << SENTRY << "\n";
    return text.str();
}

Result<> write_progress(const std::string& file_name, Progress& progress)
{
    const WriteLock lock(file_name);
    std::string why = lock.why;
    if (why.empty()) {
        const Found found = find_progress(file_name);
        if (found.what == Found::UNREADABLE || found.what == Found::BROKEN)
            return Failure{file_name + ": " + found.fault + KEPT};
        for (const auto& [level, launches] : found.progress.best_launches)
            progress.record(level, launches);
        const Result<> written = replace_file_atomically(file_name, progress_text(progress));
        if (written)
            return Done{};
        why = written.problem();
    }
    return Failure{file_name + ": cannot be written (" + why + "); progress is not saved."};
}
