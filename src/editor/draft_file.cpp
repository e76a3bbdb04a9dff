#include "editor/draft_file.h"

#include "config/config_file.h"
#include "progress/atomic_file.h"

#include <algorithm>
#include <sstream>

namespace {

const char* const FIRST_ENTRY_LEAD = "level = ";
const char* const NEXT_ENTRY_LEAD = "        "; // under the first entry

bool is_note_line(const std::string& line)
{
    const std::string text = trim(line);
    return text.empty() || text[0] == '#';
}

// The comment block at the top of a file, up to its first key, without the
// blank lines that part it from the keys.
std::string read_notes(const std::string& text)
{
    std::istringstream in(text);
    std::string notes, line, blank_lines;
    while (std::getline(in, line) && is_note_line(line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (trim(line).empty()) {
            blank_lines += "\n";
            continue;
        }
        notes += blank_lines + line + "\n";
        blank_lines.clear();
    }
    return notes;
}

// The notes in the list: a line that ends an entry and has a note gives
// the entry that note, and whole note lines go with the entry below them.
// The list runs from the line of its key to the next key or the file's end.
std::vector<EntryNote> read_entry_notes(const std::string& text)
{
    std::istringstream in(text);
    std::vector<EntryNote> notes;
    std::vector<int32_t> integers;
    std::string lines_above;
    bool in_list = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t hash = line.find('#');
        std::string body = line.substr(0, hash);
        const size_t equals = body.find('=');
        if (!in_list && equals != std::string::npos && trim(body.substr(0, equals)) == "level") {
            in_list = true;
            body.erase(0, equals + 1);
        } else if (!in_list) {
            continue;
        } else if (equals != std::string::npos || trim(body) == "EndConfigFile") {
            break;
        }
        if (hash != std::string::npos && trim(body).empty()) {
            lines_above += trim(line) + "\n";
            continue;
        }
        const size_t before = integers.size();
        std::istringstream numbers(body);
        for (int32_t number = 0; numbers >> number;)
            integers.push_back(number);
        if (integers.size() == before || integers.size() % INTEGERS_PER_ENTRY != 0)
            continue;
        const int32_t* entry = &integers[integers.size() - INTEGERS_PER_ENTRY];
        EntryNote note{{entry[0], entry[1], entry[2]}, entry[3], "", std::move(lines_above)};
        lines_above.clear();
        if (hash != std::string::npos) {
            const size_t note_from = line.find_last_not_of(" \t", hash - 1);
            note.after = line.substr(note_from == std::string::npos ? 0 : note_from + 1);
        }
        if (!note.after.empty() || !note.lines_above.empty())
            notes.push_back(std::move(note));
    }
    return notes;
}

// The beamers of the list in the order it gives them, each once.
std::vector<Cell> beamers_in_list_order(const LevelFile& level)
{
    std::vector<Cell> beamers;
    for (size_t at = 0; at + INTEGERS_PER_ENTRY <= level.list.size(); at += INTEGERS_PER_ENTRY) {
        const Cell cell{level.list[at], level.list[at + 1], level.list[at + 2]};
        if (level.list[at + 3] == CELL_BEAMER && std::find(beamers.begin(), beamers.end(), cell) == beamers.end())
            beamers.push_back(cell);
    }
    return beamers;
}

const EntryNote* designers_note(const LevelDraft& draft, const Cell& cell, int32_t value)
{
    for (const EntryNote& note : draft.entry_notes)
        if (note.cell == cell && note.value == value)
            return &note;
    return nullptr;
}

const char* usual_note(int32_t value)
{
    switch (value) {
    case CELL_SHIP_START: return "   # your ship";
    case CELL_GOAL: return "   # the goal";
    case CELL_BEAMER: return "   # a beamer";
    default: return "";
    }
}

bool opens_the_list(int32_t value)
{
    return value == CELL_SHIP_START || value == CELL_GOAL || value == CELL_BEAMER;
}

} // namespace

Result<LevelDraft> read_draft(const std::string& file_name, const std::string& read_from)
{
    const std::string& source = read_from.empty() ? file_name : read_from;
    const Result<LevelFile> read = read_level_file(source);
    if (!read)
        return Failure{read.problem()};
    const LevelFile& level = read.value();
    // The loader took it, so it is a file within bounds; its notes are read
    // from the same text.
    const Result<std::optional<std::string>> file = read_file_text(source, MOST_LEVEL_FILE_BYTES, "a level file");
    const std::string text = file && file.value() ? *file.value() : "";
    LevelDraft draft;
    fill_level_grid(level, draft.grid);
    draft.name = level.name;
    draft.notes = read_notes(text);
    draft.file_name = file_name;
    draft.beamer_order = beamers_in_list_order(level);
    draft.entry_notes = read_entry_notes(text);
    return draft;
}

LevelFile draft_level_file(const LevelDraft& draft)
{
    const LevelGrid& grid = draft.grid;
    LevelFile level;
    level.name = draft.name;
    level.size = grid.size;
    const auto add = [&level](const Cell& cell, int32_t value) {
        level.list.insert(level.list.end(), {cell[0], cell[1], cell[2], value});
    };
    const auto add_every = [&](int32_t value) {
        for (int32_t index = 0; index < grid.cell_count; ++index)
            if (grid.cells[index] == value)
                add(cell_at(grid, index), value);
    };
    add_every(CELL_SHIP_START);
    add_every(CELL_GOAL);
    // The beamers the file had in its order, then any placed since.
    std::vector<Cell> beamers;
    for (const Cell& cell : draft.beamer_order)
        if (holds_cell(grid, cell) && cell_value(grid, cell) == CELL_BEAMER)
            beamers.push_back(cell);
    for (int32_t index = 0; index < grid.cell_count; ++index)
        if (grid.cells[index] == CELL_BEAMER &&
            std::find(beamers.begin(), beamers.end(), cell_at(grid, index)) == beamers.end())
            beamers.push_back(cell_at(grid, index));
    for (const Cell& cell : beamers)
        add(cell, CELL_BEAMER);
    for (int32_t y = 0; y < grid.size; ++y)
        for (int32_t z = 0; z < grid.size; ++z)
            for (int32_t x = 0; x < grid.size; ++x) {
                const int32_t value = cell_value(grid, {x, y, z});
                if (value != CELL_EMPTY && !opens_the_list(value))
                    add({x, y, z}, value);
            }
    level.cubes = static_cast<int32_t>(level.list.size()) / INTEGERS_PER_ENTRY;
    level.integers_written = static_cast<int32_t>(level.list.size());
    return level;
}

std::string draft_file_text(const LevelDraft& draft)
{
    const LevelFile level = draft_level_file(draft);
    std::ostringstream text;
    if (!draft.notes.empty())
        text << draft.notes << "\n";
    if (!level.name.empty())
        text << "name = " << level.name << "\n";
    text << "size = " << level.size << "\ncubes = " << level.cubes << "\n";
    for (size_t at = 0; at < level.list.size(); at += INTEGERS_PER_ENTRY) {
        const int32_t value = level.list[at + 3];
        const EntryNote* note = designers_note(draft, {level.list[at], level.list[at + 1], level.list[at + 2]}, value);
        if (note)
            text << note->lines_above;
        text << (at == 0 ? FIRST_ENTRY_LEAD : NEXT_ENTRY_LEAD) << level.list[at] << ' ' << level.list[at + 1] << ' '
             << level.list[at + 2] << ' ' << value << (note && !note->after.empty() ? note->after : usual_note(value))
             << "\n";
    }
    text << "\nEndConfigFile\n";
    return text.str();
}

Result<> save_draft(const LevelDraft& draft)
{
    return replace_file_atomically(draft.file_name, draft_file_text(draft));
}

std::string next_free_level_file(LevelSet set)
{
    int32_t number = 1;
    while (path_exists(numbered_level_file(number, set)))
        ++number;
    return numbered_level_file(number, set);
}
