#include "app/editor_controls.h"
#include "app/player_input.h"

#include "config/config_file.h"
#include "editor/draft_file.h"
#include "editor/level_code.h"
#include "editor/unsaved_edits.h"
#include "game/game.h"
#include "game/player_lines.h"
#include "platform/window.h"
#include "world/assist.h"
#include "world/flight_rules.h"
#include "world/level_loader.h"
#include "world/world_state.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

namespace {

EditorSession& session(Game& game)
{
    return *game.editor;
}

// "levels/12.lev" is level 12.
int32_t number_of(const std::string& file)
{
    return std::atoi(file.c_str() + file.find('/') + 1);
}

// The world as the draft now stands, the ship at its start.
void show_draft(Game& game)
{
    const LevelDraft& draft = session(game).editor.draft();
    game.edited_grid = std::make_shared<LevelGrid>(draft.grid);
    game.solver_marks = session(game).editor.marks();
    game.level_name = draft.name;
    // A flight cut short by Tab leaves no launch behind to start by itself.
    launch_requested = false;
    start_level(game);
    const int32_t last = draft.grid.size - 1;
    for (int32_t& axis : game.edit_cursor)
        axis = std::clamp(axis, 0, last);
}

// How long unsaved edits may wait before they are kept: what a crash or a
// kill can lose at most.
constexpr double KEEP_EDITS_WITHIN = 1.0; // seconds

bool same_grid(const LevelGrid& a, const LevelGrid& b)
{
    return a.size == b.size && a.cells == b.cells;
}

// Whether the draft differs from its file, and that it has changed since
// its edits were last kept.
void note_change(EditorSession& editing)
{
    editing.unsaved = !same_grid(editing.editor.draft().grid, editing.saved_grid);
    editing.edits_to_keep = true;
}

void keep_edits_now(Game& game)
{
    if (!game.editor || !session(game).edits_to_keep)
        return;
    EditorSession& editing = session(game);
    const LevelDraft& draft = editing.editor.draft();
    editing.edits_to_keep = false;
    editing.kept_at = platform::get_time();
    if (!editing.unsaved) {
        forget_unsaved_edits(draft.file_name);
        return;
    }
    if (const Result<> kept = keep_unsaved_edits(draft); !kept && !editing.keeping_failed) {
        editing.keeping_failed = true;
        report_words(game, "Cannot keep the unsaved edits in {file} ({problem}): {key} saves them, or they go with the game.",
                     {{"file", unsaved_edits_file(draft.file_name)},
                      {"problem", kept.problem()},
                      {"key", shown_chord(Command::SAVE)}});
    }
}

// A session for the level file: from the edits kept beside it when there
// are any, else from `read` (the file, which may throw or fail, or a new
// level). True when the kept edits came back.
Result<bool> start_session(Game& game, const std::string& file, const std::function<Result<LevelDraft>()>& read,
                           int32_t level_before_new)
{
    keep_edits_now(game);
    Result<std::optional<LevelDraft>> kept = kept_unsaved_edits(file);
    if (!kept)
        report_to_player(game, kept.problem());
    const bool brought_back = kept && kept.value();
    Result<LevelDraft> read_now = brought_back ? Result<LevelDraft>(std::move(*kept.value())) : read();
    if (!read_now)
        return Failure{read_now.problem()};
    LevelDraft& draft = read_now.value();
    LevelGrid saved_grid;
    if (brought_back) {
        try {
            if (const Result<LevelDraft> saved = read_draft(file))
                saved_grid = saved->grid;
        } catch (const ConfigFile::file_not_found&) {
            // Never saved, or gone: every cell is unsaved.
        }
    } else {
        saved_grid = draft.grid;
    }
    const Cell start = ship_start(draft.grid);
    game.editor = std::make_shared<EditorSession>(EditorSession{LevelEditor(std::move(draft)), std::move(saved_grid)});
    session(game).level_before_new = level_before_new;
    session(game).unsaved = !same_grid(session(game).editor.draft().grid, session(game).saved_grid);
    game.edit_cursor = start;
    if (brought_back)
        report_words(game, "{file}: the edits that were not saved are back; {key} saves them.",
                     {{"file", file}, {"key", shown_chord(Command::SAVE)}});
    return brought_back;
}

// Whether the game can play a level file, and why not.
Result<> check_level_playable(const std::string& file)
{
    try {
        if (const Result<PlayLevel> level = load_play_level(file); !level)
            return Failure{level.problem()};
    } catch (const ConfigFile::file_not_found& unread) {
        return Failure{unread.problem};
    }
    return Done{};
}

} // namespace

void open_editor(Game& game)
{
    const std::string file = level_file_name(game.level_number, game.level_file_count, game.level_set);
    if (!game.editor || session(game).editor.draft().file_name != file) {
        try {
            if (const Result<bool> started = start_session(game, file, [&file] { return read_draft(file); }, 0);
                !started) {
                report_words(game, "{file}: {problem}; the editor cannot open it.",
                             {{"file", file}, {"problem", started.problem()}});
                return;
            }
        } catch (const ConfigFile::file_not_found& unread) {
            report_words(game, "{file}: {problem}; the editor cannot open it.", {{"file", file}, {"problem", unread.problem}});
            return;
        }
    }
    game.edit_mode = EditMode::EDITING;
    show_draft(game);
}

void close_editor(Game& game)
{
    EditorSession& editing = session(game);
    if (!std::filesystem::exists(editing.editor.draft().file_name)) {
        // A new level never saved has no file to play.
        game.level_number = editing.level_before_new;
        enter_level_set(game, editing.set_before_new);
        game.editor.reset();
    } else {
        // Work in progress saved without a ship start cannot be played:
        // leaving would end the game, as a broken level does.
        if (const Result<> playable = check_level_playable(editing.editor.draft().file_name); !playable) {
            show_words(game, "The saved level cannot be played yet ({problem}): the editor stays.",
                       {{"problem", playable.problem()}});
            return;
        }
        if (editing.unsaved) {
            keep_edits_now(game);
            show_words(game, "The edits are not saved: {key} goes back to them.", {{"key", shown_chord(Command::EDIT)}});
        }
    }
    game.edit_mode = EditMode::OFF;
    game.edited_grid.reset();
    start_level(game);
}

void play_test(Game& game)
{
    const LevelDraft& draft = session(game).editor.draft();
    if (std::count(draft.grid.cells.begin(), draft.grid.cells.end(), CELL_SHIP_START) == 0) {
        show_words(game, "There is no ship start to play from: 5 puts one at the cursor.", {});
        return;
    }
    game.edit_mode = EditMode::TESTING;
    show_draft(game);
}

void back_to_editing(Game& game)
{
    game.edit_mode = EditMode::EDITING;
    show_draft(game);
}

void save_level(Game& game)
{
    EditorSession& editing = session(game);
    if (const Result<> saved = editing.editor.save(); !saved) {
        report_to_player(game, saved.problem());
        return;
    }
    editing.saved_grid = editing.editor.draft().grid;
    editing.unsaved = false;
    editing.edits_to_keep = false;
    const std::string& file = editing.editor.draft().file_name;
    forget_unsaved_edits(file);
    // A new file is one more level to play, after the last one.
    game.level_file_count = std::max(game.level_file_count, number_of(file));
    const std::string& status = editing.editor.status();
    if (status.rfind("solvable", 0) == 0)
        report_words(game, "Saved {file}.", {{"file", file}});
    else
        report_to_player(game, fill("Saved {file} as work in progress: {status}.", {{"file", file}, {"status", status}}),
                         fill(tr("Saved {file} as work in progress: {status}."),
                              {{"file", file}, {"status", editing.editor.shown_status()}}));
}

namespace {

// Starts editing a new level of the player's own in `file`, from `read`;
// true when the edits kept for that file came back instead.
bool start_own_level(Game& game, const std::string& file, const std::function<Result<LevelDraft>()>& read)
{
    const bool after_new = game.editor && !std::filesystem::exists(session(game).editor.draft().file_name);
    const int32_t before = after_new ? session(game).level_before_new : game.level_number;
    const LevelSet set_before = after_new ? session(game).set_before_new : game.level_set;
    // A new draft is always there to start from.
    const Result<bool> started = start_session(game, file, read, before);
    session(game).set_before_new = set_before;
    enter_level_set(game, LevelSet::OWN);
    game.level_number = number_of(file);
    show_draft(game);
    return started && started.value();
}

// Where the player's own levels go. Made before a level is, so that its
// edits can be kept at once; one that cannot be made shows as the save
// that fails.
void make_own_levels_directory()
{
    std::error_code unmade;
    std::filesystem::create_directory(OWN_LEVELS, unmade);
}

} // namespace

void new_level(Game& game)
{
    make_own_levels_directory();
    const std::string file = next_free_level_file(LevelSet::OWN);
    if (!start_own_level(game, file, [&file] { return Result<LevelDraft>(new_draft(file)); }))
        show_words(game, "New level {file}: {key} saves it.", {{"file", file}, {"key", shown_chord(Command::SAVE)}});
}

void copy_level(Game& game)
{
    const LevelDraft& draft = session(game).editor.draft();
    const Result<std::string> code = level_code(draft);
    if (!code) {
        show_words(game, "{file} cannot be copied as a level code: {problem}.",
                   {{"file", draft.file_name}, {"problem", code.problem()}});
        return;
    }
    platform::set_clipboard(code.value());
    const Values values = {{"file", draft.file_name},
                           {"count", std::to_string(code->size())},
                           {"key", shown_chord(Command::PASTE_LEVEL)}};
    report_to_player(game, fill("Copied {file} as a level code of {count} characters; {key} in the editor pastes it.", values),
                     fill(tr_n("Copied {file} as a level code of {count} character; {key} in the editor pastes it.",
                               "Copied {file} as a level code of {count} characters; {key} in the editor pastes it.",
                               code->size()),
                          values));
}

void paste_level(Game& game)
{
    Result<LevelDraft> pasted = read_level_code(platform::get_clipboard());
    if (!pasted) {
        report_words(game, "The clipboard holds no level code to paste: {problem}.", {{"problem", pasted.problem()}});
        return;
    }
    make_own_levels_directory();
    // A number of its own: not one whose unsaved edits wait to come back.
    std::string file;
    for (int32_t number = 1;; ++number)
        if (file = numbered_level_file(number, LevelSet::OWN);
            !path_exists(file) && !path_exists(unsaved_edits_file(file)))
            break;
    pasted->file_name = file;
    start_own_level(game, file, [&pasted] { return std::move(pasted); });
    save_level(game);
}

void toggle_solver_view(Game& game)
{
    if (!game.options.solver_view || !game.text_shown) {
        show_words(game, game.text_shown ? N_("The solver's view is off in {file} (solver_view = no).")
                                         : N_("The solver's view is off in {file} (text = no)."),
                   {{"file", SETTINGS_FILE}});
        return;
    }
    game.solver_view_shown = !game.solver_view_shown;
}

namespace {

// Carries out an edit and shows it, or says why it was refused.
template <typename Edit>
void edit(Game& game, Edit change)
{
    EditorSession& editing = session(game);
    if (const Result<> made = change(editing.editor); !made) {
        show_message(game, made.problem());
        return;
    }
    note_change(editing);
    show_draft(game);
}

Cell scaled(Cell step, int32_t by)
{
    return {step[0] * by, step[1] * by, step[2] * by};
}

// The cursor follows the view: right moves it along the grid axis nearest
// to the screen's right, away along the other level axis, away from the
// camera. Seen square to a corner both are as near; they still take one
// axis each.
Cell cursor_step(const Game& game, CursorMove move)
{
    glm::vec3 away = game.camera_target - game.camera_eye;
    away.y = 0.0f;
    const glm::vec3 right = glm::cross(away, glm::vec3(0.0f, 1.0f, 0.0f));
    const bool right_along_x = std::abs(right.x) >= std::abs(right.z);
    const Cell to_right = right_along_x ? Cell{right.x > 0.0f ? 1 : -1, 0, 0} : Cell{0, 0, right.z > 0.0f ? 1 : -1};
    const Cell to_away = right_along_x ? Cell{0, 0, away.z > 0.0f ? 1 : -1} : Cell{away.x > 0.0f ? 1 : -1, 0, 0};
    switch (move) {
    case CursorMove::AWAY: return to_away;
    case CursorMove::NEARER: return scaled(to_away, -1);
    case CursorMove::RIGHT: return to_right;
    case CursorMove::LEFT: return scaled(to_right, -1);
    case CursorMove::UP: return Cell{0, 1, 0};
    case CursorMove::DOWN: return Cell{0, -1, 0};
    }
    return Cell{0, 0, 0};
}

} // namespace

void step_edit_history(Game& game, bool forward)
{
    EditorSession& editing = session(game);
    if (forward ? editing.editor.redo() : editing.editor.undo()) {
        note_change(editing);
        show_draft(game);
    } else {
        show_message(game, forward ? tr("Nothing to redo.") : tr("Nothing to undo."));
    }
}

void move_edit_cursor(Game& game, CursorMove move)
{
    const Cell step = cursor_step(game, move);
    const int32_t last = session(game).editor.draft().grid.size - 1;
    for (int axis = 0; axis < 3; ++axis)
        game.edit_cursor[axis] = std::clamp(game.edit_cursor[axis] + step[axis], 0, last);
}

void place_at_cursor(Game& game, int32_t content)
{
    const Cell cell = game.edit_cursor;
    edit(game, [&](LevelEditor& editor) { return editor.place(cell, content); });
}

void resize_level(Game& game, int32_t by)
{
    const int32_t size = session(game).editor.draft().grid.size;
    edit(game, [&](LevelEditor& editor) { return editor.resize(size + by); });
}

void keep_unsaved_edits_in_time(Game& game, double now, bool at_once)
{
    if (game.editor && session(game).edits_to_keep && (at_once || now - session(game).kept_at >= KEEP_EDITS_WITHIN))
        keep_edits_now(game);
}

void follow_unplayable_level(Game& game)
{
    if (game.edit_mode != EditMode::OFF || game.unplayable.empty())
        return;
    const std::string file = level_file_name(game.level_number, game.level_file_count, game.level_set);
    report_words(game, "{file}: {problem}; it opens in the editor to be mended.",
                 {{"file", file}, {"problem", game.unplayable}});
    open_editor(game);
}

void follow_play_test(Game& game)
{
    if (game.edit_mode != EditMode::TESTING)
        return;
    for (const WorldEvent& event : game.events)
        if (event.kind == WorldEventKind::SOLVED) {
            back_to_editing(game);
            return;
        }
}
