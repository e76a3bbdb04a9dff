#include "progress/progress_file.h"

#include "config/config_file.h"
#include "progress/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* SENTRY = "EndConfigFile";
constexpr const char* KEY_PREFIX = "level_";
constexpr int32_t MOST_LAUNCHES = 1000000; // more than any level can need

// The file ends with the sentry on a line of its own; a file cut short
// does not, whatever it holds before.
bool ends_properly(const std::string& file_name)
{
    std::ifstream file(file_name, std::ios::binary);
    for (std::string line; std::getline(file, line);)
        if (trim(line.substr(0, line.find('#'))) == SENTRY)
            return true;
    return false;
}

// What is wrong with the file; "" when it is sound. Every value is a
// "level_N = launches": a line of anything else joins the value above it
// and spoils it, so garbage is seen as well as a file cut short.
std::string fault_in(const std::string& file_name, Progress& progress)
{
    if (!ends_properly(file_name))
        return "it is cut short: it does not end with " + std::string(SENTRY);
    const ConfigFile file(file_name, "=", "#", SENTRY);
    for (const std::string& key : file.keys()) {
        const int32_t level = key.rfind(KEY_PREFIX, 0) == 0 ? whole_number(key.substr(6)).value_or(0) : 0;
        const int32_t launches = whole_number(file.find_value(key).value_or("")).value_or(0);
        if (level <= 0 || launches <= 0 || launches > MOST_LAUNCHES)
            return "\"" + key + "\" is not a \"level_N = launches\" line";
        progress.best_launches[level] = launches;
    }
    return "";
}

} // namespace

Progress read_progress(const std::string& file_name, std::string& problem)
{
    problem.clear();
    if (!std::ifstream(file_name, std::ios::binary)) {
        if (errno != ENOENT)
            problem = file_name + ": cannot be read (" + std::strerror(errno) + "); playing as a new player.";
        return {};
    }

    Progress progress;
    const std::string fault = fault_in(file_name, progress);
    if (fault.empty())
        return progress;
    const std::string aside = move_aside(file_name, BROKEN_SUFFIX);
    problem = file_name + ": " + fault + "; " +
              (aside.empty() ? "it is left as it is" : "it is kept as " + aside) + ", playing as a new player.";
    return {};
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

bool write_progress(const std::string& file_name, const Progress& progress, std::string& problem)
{
    std::string why;
    if (replace_file_atomically(file_name, progress_text(progress), why))
        return true;
    problem = file_name + ": cannot be written (" + why + "); progress is not saved.";
    return false;
}
