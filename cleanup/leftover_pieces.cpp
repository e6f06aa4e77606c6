#include "cleanup/leftover_pieces.h"

#include <windows.h>

#include <string>
#include <vector>

#include "file_acts/act_file.h"
#include "file_acts/act_folder.h"
#include "file_acts/act_refusals.h"
#include "history/history_file.h"
#include "history/history_read.h"
#include "history/history_staging.h"
#include "model/app_state.h"
#include "place/staging_folder.h"
#include "undo/undo_trust.h"
#include "util/ansi_text.h"
#include "util/this_process.h"
#include "window/status_list.h"

namespace {

// "<n>.tmp": the only names a run gives the files of its staging folder.
bool IsStagedName(const std::string& name)
{
    size_t digits = name.size() >= 5 ? name.size() - 4 : 0;
    if (digits == 0 || name.compare(digits, 4, ".tmp") != 0)
        return false;
    for (size_t at = 0; at < digits; ++at) {
        if (name[at] < '0' || name[at] > '9')
            return false;
    }
    return true;
}

// Removes one entry of the dead run's folder through the room of file acts,
// or says why it stays: a read-only mark of the run's own is cleared; a link,
// a folder, a file of another name or with other names stays.
void SettleEntry(const ActFolder& staging, const ActListed& entry, const std::string& path)
{
    if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) || !IsStagedName(entry.name)) {
        ReportActivity(Activity::PieceLeft, path + "  no run of Quillet makes it");
        return;
    }
    ActFile piece;
    unsigned long refusal = ActFileOpen(piece, staging, entry.name,
                                        DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                        ActPurpose::Change);
    if (!refusal)
        refusal = ActFileDelete(piece, nullptr, true, false);
    if (refusal)
        ReportActivity(Activity::PieceLeft, path + "  " + ActErrorText(refusal));
    else
        ReportActivity(Activity::PieceRemoved, path);
}

// Empties the named folder of the held parent and removes it. False when
// the parent cannot be held or the folder is not a folder of that name
// there (a link): then nothing is done and the folder stays named.
bool SettleFolder(const std::string& parentPath, const std::string& name)
{
    ActFolder parent, staging;
    ActFolderOpen(parent, parentPath);
    if (parent.error)
        return false;
    ActFolderOpenIn(staging, parent, name, false);
    if (staging.error == ERROR_PATH_NOT_FOUND)
        return true;
    if (!ActFolderIsLevel(staging, parent, name))
        return false;
    std::vector<ActListed> entries;
    ActFolderList(staging, [&](const ActListed& entry) { entries.push_back(entry); });
    for (const ActListed& entry : entries)
        SettleEntry(staging, entry, parentPath + name + "\\" + entry.name);
    staging.handle.Reset();
    ActFolderRemoveIn(parent, name);
    return true;
}

// The folder the record may name, from its sort's folders: empty when the
// history does not prove it a dead run's of this computer.
std::string ProvenFolder(const AppState& app, const HistoryStaging& record, const std::string& computer)
{
    if (!record.sortKnown || !AnsiEqualsIgnoringCase(record.computer, computer)
        || ProcessStillRuns(record.processId, record.created))
        return std::string();
    HistorySortLine sort{record.sortTime, record.sortIndex, record.sortMode, record.sortSource, record.sortTarget};
    if (!UndoSortTrusted(app, sort))
        return std::string();
    // A sort's copies are made beside its categories; an undo's in the source.
    bool undo = record.runId != record.sortId;
    std::string parent = undo ? WithTrailingBackslash(record.sortSource) : StagingParentOf(record.sortTarget);
    std::string folder = parent + StagingFolderName(computer, record.runId);
    return !parent.empty() && record.folder == folder ? parent : std::string();
}

}  // namespace

void LeftoverPiecesSettle(AppState& app)
{
    std::string text;
    if (app.History.path.empty() || !HistoryFileRead(app.History.path, &text))
        return;
    std::string computer = ThisComputerName();
    for (const HistoryStaging& record : HistoryUnsettledStaging(text)) {
        std::string parent = ProvenFolder(app, record, computer);
        if (!parent.empty() && SettleFolder(parent, StagingFolderName(computer, record.runId)))
            HistoryStagingEnded(app.History, record.folder, record.runId);
    }
}
