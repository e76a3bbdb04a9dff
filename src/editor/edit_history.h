// The edits of one editing session, for undo and redo. Undoing steps back
// through the edits made; a new edit after an undo drops the ones undone.
#pragma once

#include "editor/draft_edit.h"

#include <vector>

class EditHistory {
public:
    // Keeps an edit that has just been applied to the draft.
    void record(DraftEdit edit);
    // Each returns false, changing nothing, when there is nothing to step to.
    bool undo(LevelDraft& draft);
    bool redo(LevelDraft& draft);

private:
    std::vector<DraftEdit> done_;
    std::vector<DraftEdit> undone_; // the next to redo last
};
