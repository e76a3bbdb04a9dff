#include "progress/progress.h"

bool Progress::record(int32_t level_file, int32_t launches)
{
    const auto [at, added] = best_launches.emplace(level_file, launches);
    if (added)
        return true;
    if (launches >= at->second)
        return false;
    at->second = launches;
    return true;
}
