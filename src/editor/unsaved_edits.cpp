#include "editor/unsaved_edits.h"

#include "config/config_file.h"
#include "editor/draft_file.h"
#include "progress/atomic_file.h"
#include "world/level_loader.h"

#include <unistd.h>

namespace {

constexpr const char* UNSAVED_SUFFIX = ".unsaved";
constexpr const char* UNREADABLE_SUFFIX = ".bad";

} // namespace

std::string unsaved_edits_file(const std::string& level_file)
{
    return level_file + UNSAVED_SUFFIX;
}

Result<> keep_unsaved_edits(const LevelDraft& draft)
{
    return replace_file_atomically(unsaved_edits_file(draft.file_name), draft_file_text(draft));
}

void forget_unsaved_edits(const std::string& level_file)
{
    ::unlink(unsaved_edits_file(level_file).c_str());
}

Result<std::optional<LevelDraft>> kept_unsaved_edits(const std::string& level_file)
{
    const std::string kept = unsaved_edits_file(level_file);
    std::string problem;
    try {
        Result<LevelDraft> draft = read_draft(level_file, kept);
        if (draft)
            return std::optional<LevelDraft>(std::move(draft.value()));
        problem = draft.problem();
    } catch (const ConfigFile::file_not_found& unread) {
        if (unread.missing)
            return std::optional<LevelDraft>();
        problem = unread.problem;
    }
    const Result<std::string> aside = move_aside(kept, UNREADABLE_SUFFIX);
    return Failure{kept + ": " + problem + "; the edits in it cannot be brought back, and it is " +
                   (aside ? "kept as " + aside.value() + "." : "left as it is.")};
}
