#include "config/config_file.h"

#include <sstream>

const char* const WHITESPACE = " \n\t\v\r\f";

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(WHITESPACE);
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(WHITESPACE);
    return text.substr(first, last - first + 1);
}

int to_int(const std::string& text)
{
    std::istringstream stream(text);
    int value = 0;
    if (!(stream >> value))
        return 0;
    return value;
}

std::optional<int32_t> whole_number(const std::string& text)
{
    constexpr size_t MOST_DIGITS = 9; // fits an int32_t
    if (text.empty() || text.size() > MOST_DIGITS || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

bool to_bool(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return !(upper == "FALSE" || upper == "F" || upper == "NO" || upper == "N" ||
             upper == "0" || upper == "NONE");
}

namespace {

void strip_comment(std::string& line, const std::string& comment)
{
    const auto at = line.find(comment);
    if (at != std::string::npos)
        line.erase(at);
}

} // namespace

ConfigFile::ConfigFile(std::string file_name, std::string delimiter_, std::string comment_, std::string sentry_,
                       size_t most_bytes, const char* kind)
    : delimiter(std::move(delimiter_)), comment(std::move(comment_)), sentry(std::move(sentry_))
{
    Result<std::optional<std::string>> file = read_file_text(file_name, most_bytes, kind);
    if (!file)
        throw file_not_found{file_name, file.problem(), false};
    if (!file.value())
        throw file_not_found{file_name, MISSING_FILE, true};
    std::istringstream in(std::move(*file.value()));

    auto holds_sentry = [this](const std::string& text) {
        return !sentry.empty() && text.find(sentry) != std::string::npos;
    };

    // One line of look-ahead: reading a value's continuation lines ends on
    // the first line that is not part of it, and that line is handled next.
    std::string pending;
    while (in || !pending.empty()) {
        std::string line;
        if (!pending.empty())
            line.swap(pending);
        else if (!std::getline(in, line))
            line.clear();

        strip_comment(line, comment);
        if (holds_sentry(line))
            break;
        const auto split = line.find(delimiter);
        if (split == std::string::npos)
            continue;

        std::string key = line.substr(0, split);
        std::string value = line.substr(split + delimiter.size());

        while (in) {
            // A failed read must leave nothing behind: after a last line
            // without a line break the stream is only at its end, and a
            // look-ahead that kept its old text would append that line twice.
            if (!std::getline(in, pending)) {
                pending.clear();
                break;
            }
            if (trim(pending).empty())
                break;
            strip_comment(pending, comment);
            if (pending.find(delimiter) != std::string::npos || holds_sentry(pending))
                break;
            if (!trim(pending).empty())
                value += '\n';
            value += pending;
            pending.clear();
        }

        contents[trim(key)] = trim(value);
        lines_.emplace_back(trim(key), trim(value));
    }
}

std::optional<std::string> ConfigFile::find_value(const std::string& key) const
{
    const auto found = contents.find(key);
    if (found == contents.end())
        return std::nullopt;
    return found->second;
}

int ConfigFile::read_int(const std::string& key, int default_value) const
{
    const auto value = find_value(key);
    return value ? to_int(*value) : default_value;
}

void ConfigFile::read_int_into(const std::string& key, int& target) const
{
    if (const auto value = find_value(key))
        target = to_int(*value);
}

bool ConfigFile::read_bool(const std::string& key, bool default_value) const
{
    const auto value = find_value(key);
    return value ? to_bool(*value) : default_value;
}
