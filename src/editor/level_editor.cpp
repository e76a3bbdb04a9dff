#include "editor/level_editor.h"

#include "editor/draft_file.h"
#include "editor/draft_status.h"

LevelEditor::LevelEditor(LevelDraft draft) : draft_(std::move(draft)), status_(draft_status(draft_)) {}

std::string LevelEditor::carry_out(const EditOutcome& outcome)
{
    if (!outcome.refusal.empty() || changes_nothing(outcome.edit))
        return outcome.refusal;
    apply_edit(draft_, outcome.edit);
    history_.record(outcome.edit);
    status_ = draft_status(draft_);
    return "";
}

std::string LevelEditor::place(const Cell& cell, int32_t content)
{
    return carry_out(place_in_cell(draft_, cell, content));
}

std::string LevelEditor::resize(int32_t size)
{
    return carry_out(resize_grid(draft_, size));
}

bool LevelEditor::undo()
{
    if (!history_.undo(draft_))
        return false;
    status_ = draft_status(draft_);
    return true;
}

bool LevelEditor::redo()
{
    if (!history_.redo(draft_))
        return false;
    status_ = draft_status(draft_);
    return true;
}

std::string LevelEditor::save() const
{
    std::string problem;
    return save_draft(draft_, problem) ? "" : "cannot save " + draft_.file_name + ": " + problem;
}
