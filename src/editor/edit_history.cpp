#include "editor/edit_history.h"

void EditHistory::record(DraftEdit edit)
{
    done_.push_back(std::move(edit));
    undone_.clear();
}

bool EditHistory::undo(LevelDraft& draft)
{
    if (done_.empty())
        return false;
    revert_edit(draft, done_.back());
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return true;
}

bool EditHistory::redo(LevelDraft& draft)
{
    if (undone_.empty())
        return false;
    apply_edit(draft, undone_.back());
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return true;
}
