// One editing session of one level: the draft, its history, and its status
// line and solver marks, which are worked out afresh after every change.
// This is what the editor's keys and its picture use; it knows nothing of
// either.
#pragma once

#include "editor/edit_history.h"
#include "editor/level_draft.h"
#include "game/solver_marks.h"
#include "result/result.h"

#include <memory>
#include <string>

class LevelEditor {
public:
    explicit LevelEditor(LevelDraft draft);

    // Each edit succeeds when it is made (or changes nothing), and otherwise
    // fails with the reason it is refused, for the status line; a refused
    // edit changes nothing and is not kept for undo.
    // `content` is CELL_EMPTY, CELL_CUBE, CELL_BEAMER, CELL_SHIP_START or CELL_GOAL.
    Result<> place(const Cell& cell, int32_t content);
    Result<> resize(int32_t size);

    // Each returns false when there is nothing to undo or redo.
    bool undo();
    bool redo();

    // Writes the draft's file, solvable or not; a failure's problem is a
    // line that says why not.
    Result<> save() const;

    const LevelDraft& draft() const { return draft_; }
    const std::string& status() const { return status_; }
    // The same in the player's language.
    const std::string& shown_status() const { return shown_status_; }
    // New marks for every change and the same ones while nothing changes,
    // so that whoever draws them can tell by the pointer.
    std::shared_ptr<const SolverMarks> marks() const { return marks_; }

private:
    Result<> carry_out(const EditOutcome& outcome);
    // Works out the status line and the marks of the draft as it now is.
    void judge();

    LevelDraft draft_;
    EditHistory history_;
    std::string status_;
    std::string shown_status_;
    std::shared_ptr<const SolverMarks> marks_;
};
