#include "util/file_progress.h"

#include <algorithm>

namespace {

thread_local FileProgress* t_bound = nullptr;

}  // namespace

void FileProgressBind(FileProgress* progress)
{
    t_bound = progress;
}

void FileProgressCopied(uint64_t bytes)
{
    if (t_bound)
        t_bound->copiedBytes += bytes;
}

void FileProgressCompared(uint64_t bytes)
{
    if (t_bound)
        t_bound->comparedBytes += bytes;
}

int FileProgressPercent(FileProgress& progress)
{
    uint64_t done = std::max(progress.copiedBytes.load(), progress.comparedBytes.load());
    if (progress.total == 0)
        return 0;
    return static_cast<int>(std::min<uint64_t>(99, done * 100 / progress.total));
}
