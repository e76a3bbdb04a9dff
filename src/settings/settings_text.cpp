#include "settings/settings_text.h"

#include "config/config_file.h"
#include "config/file_text.h"
#include "progress/atomic_file.h"

#include <optional>

namespace {

constexpr const char* DELIMITER = "=";
constexpr const char* COMMENT = "#";
constexpr const char* SENTRY = "EndConfigFile";

struct Line {
    size_t begin; // of the line in the text
    size_t end;   // just past its line break, or the text's end
};

std::vector<Line> lines_of(const std::string& text)
{
    std::vector<Line> lines;
    size_t at = 0;
    while (at < text.size()) {
        const size_t lf = text.find('\n', at);
        const size_t end = lf == std::string::npos ? text.size() : lf + 1;
        lines.push_back({at, end});
        at = end;
    }
    return lines;
}

// The line without its line break and its note, as the reader sees it.
std::string content(const std::string& text, const Line& line)
{
    std::string shown = text.substr(line.begin, line.end - line.begin);
    if (!shown.empty() && shown.back() == '\n')
        shown.pop_back();
    return shown.substr(0, shown.find(COMMENT));
}

// Where the reader takes `key` from: the last line that gives it, and the
// lines of text its value goes on over. Lines of notes alone between them
// add nothing to the value and stay.
struct Entry {
    size_t line = 0;
    std::vector<size_t> more;
};

struct Layout {
    std::optional<Entry> entry;
    std::optional<size_t> sentry; // the line that ends the file
};

Layout layout_of(const std::string& text, const std::vector<Line>& lines, const std::string& key)
{
    Layout layout;
    for (size_t at = 0; at < lines.size(); ++at) {
        const std::string shown = content(text, lines[at]);
        if (shown.find(SENTRY) != std::string::npos) {
            layout.sentry = at;
            break;
        }
        const size_t split = shown.find(DELIMITER);
        if (split == std::string::npos)
            continue;
        Entry entry{at, {}};
        // As the reader does: the value goes on until an empty line, or a
        // line with a key or the end mark.
        while (at + 1 < lines.size()) {
            const Line& next = lines[at + 1];
            std::string raw = text.substr(next.begin, next.end - next.begin);
            if (trim(raw).empty())
                break;
            const std::string more = content(text, next);
            if (more.find(DELIMITER) != std::string::npos || more.find(SENTRY) != std::string::npos)
                break;
            ++at;
            if (!trim(more).empty())
                entry.more.push_back(at);
        }
        if (trim(shown.substr(0, split)) == key)
            layout.entry = entry;
    }
    return layout;
}

} // namespace

std::string with_value(const std::string& text, const std::string& key, const std::string& value)
{
    const std::vector<Line> lines = lines_of(text);
    const Layout layout = layout_of(text, lines, key);
    if (!layout.entry) {
        const std::string added = key + " " + DELIMITER + " " + value + "\n";
        if (layout.sentry)
            return text.substr(0, lines[*layout.sentry].begin) + added + text.substr(lines[*layout.sentry].begin);
        return text + (text.empty() || text.back() == '\n' ? "" : "\n") + added;
    }

    const Line& line = lines[layout.entry->line];
    const std::string shown = content(text, line);
    if (layout.entry->more.empty() && trim(shown.substr(shown.find(DELIMITER) + 1)) == value)
        return text;
    // Between the delimiter and the note: the spaces before the old value
    // stay, the old value goes, the spaces after it stay with the note.
    const size_t after = line.begin + shown.find(DELIMITER) + 1;
    const size_t value_end = line.begin + shown.size();
    size_t old_begin = text.find_first_not_of(" \t", after);
    if (old_begin == std::string::npos || old_begin > value_end)
        old_begin = value_end;
    size_t old_end = value_end;
    while (old_end > old_begin && (text[old_end - 1] == ' ' || text[old_end - 1] == '\t' || text[old_end - 1] == '\r'))
        --old_end;
    // An empty value after a bare delimiter gets the usual space.
    const std::string gap = old_begin == after && old_end == old_begin ? " " : "";

    std::string changed = text.substr(0, old_begin) + gap + value + text.substr(old_end, line.end - old_end);
    size_t at = line.end;
    for (const size_t more : layout.entry->more) {
        changed += text.substr(at, lines[more].begin - at);
        at = lines[more].end;
    }
    return changed + text.substr(at);
}

Result<> change_settings(const std::string& path, const std::vector<std::pair<std::string, std::string>>& values)
{
    const Result<std::optional<std::string>> file = read_file_text(path, MOST_SETTINGS_BYTES, "a settings file");
    if (!file)
        return Failure{file.problem()};
    const std::string old_text = file.value().value_or("");
    std::string text = old_text;
    for (const auto& [key, value] : values)
        text = with_value(text, key, value);
    if (text == old_text)
        return Done{};
    if (const Result<> written = replace_file_atomically(path, text); !written)
        return Failure{"it cannot be written (" + written.problem() + ")"};
    return Done{};
}
