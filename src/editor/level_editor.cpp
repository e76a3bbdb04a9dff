#include "editor/level_editor.h"

#include "editor/draft_file.h"
#include "editor/draft_status.h"

LevelEditor::LevelEditor(LevelDraft draft) : draft_(std::move(draft))
{
    judge();
}

void LevelEditor::judge()
{
    DraftStatus status = draft_status(draft_);
    status_ = std::move(status.english);
    shown_status_ = std::move(status.shown);
    marks_ = std::make_shared<const SolverMarks>(draft_marks(draft_));
}

Result<> LevelEditor::carry_out(const EditOutcome& outcome)
{
    if (!outcome)
        return Failure{outcome.problem()};
    if (changes_nothing(outcome.value()))
        return Done{};
    apply_edit(draft_, outcome.value());
    history_.record(outcome.value());
    judge();
    return Done{};
}

Result<> LevelEditor::place(const Cell& cell, int32_t content)
{
    return carry_out(place_in_cell(draft_, cell, content));
}

Result<> LevelEditor::resize(int32_t size)
{
    return carry_out(resize_grid(draft_, size));
}

bool LevelEditor::undo()
{
    if (!history_.undo(draft_))
        return false;
    judge();
    return true;
}

bool LevelEditor::redo()
{
    if (!history_.redo(draft_))
        return false;
    judge();
    return true;
}

Result<> LevelEditor::save() const
{
    if (const Result<> saved = save_draft(draft_); !saved)
        return Failure{"cannot save " + draft_.file_name + ": " + saved.problem()};
    return Done{};
}
