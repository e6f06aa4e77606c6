#include "history/history_read.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "history/history_line.h"
#include "history/history_log.h"
#include "util/ansi_text.h"
#include "util/file_facts.h"
#include "util/file_identity.h"
#include "util/file_times.h"
#include "util/package_version.h"

namespace {

using Fields = std::vector<std::string_view>;

// Fixed fields of each kind of line, time and run id included.
const size_t UndoFields = 4, SortFields = 7, PlaceFields = 8, PlacedFields = 14, UndoingFields = 7,
             UndoneFields = 10;

enum class UndoState { None, Unsettled, Done, Final, Retry };

struct Entry {
    std::string_view place;   // the line before the operation
    std::string_view placed;  // the line after it
    UndoState undo = UndoState::None;
};

struct Group {
    std::string_view id;
    std::string_view sortLine;
    bool tried = false;  // an undo has taken it on (its line names the sort)
    size_t order = SIZE_MAX;  // where its start line (or its first line) stands
    std::map<uint32_t, Entry> entries;
};

struct SortInfo {
    std::string time, index, source, target;
    CopyMode mode = CopyMode::Other;
};

bool Number32(std::string_view text, uint32_t* value)
{
    unsigned long long number;
    if (!HistoryNumber(text, &number) || number > 0xFFFFFFF0ull)
        return false;
    *value = static_cast<uint32_t>(number);
    return true;
}

UndoState UndoResult(std::string_view text)
{
    return text == "done" ? UndoState::Done : text == "final" ? UndoState::Final
                                          : text == "retry"  ? UndoState::Retry
                                                             : UndoState::None;
}

void TakeLine(std::unordered_map<std::string_view, Group>& groups, std::string_view line, size_t at, Fields& f)
{
    HistorySplitFields(line, &f);
    if (f.size() < 3 || !HistoryIsTime(f[0]) || f[1].empty())
        return;
    std::string_view kind = f[2];
    uint32_t n;
    if (kind == "Undo" && f.size() == UndoFields) {
        groups[f[3]].tried = true;
    } else if (kind == "Sort" && f.size() == SortFields) {
        Group& group = groups[f[1]];
        if (group.sortLine.empty()) {
            group.sortLine = line;
            group.order = at;
        }
    } else if ((kind == "Place" && f.size() >= PlaceFields) || (kind == "Placed" && f.size() >= PlacedFields)) {
        if (!Number32(f[3], &n))
            return;
        Group& group = groups[f[1]];
        group.order = std::min(group.order, at);
        (kind == "Place" ? group.entries[n].place : group.entries[n].placed) = line;
    } else if (kind == "Undoing" && f.size() == UndoingFields && Number32(f[4], &n)) {
        groups[f[3]].entries[n].undo = UndoState::Unsettled;
    } else if (kind == "Undone" && (f.size() == UndoneFields || f.size() == UndoneFields + 2) && Number32(f[4], &n)
               && UndoResult(f[5]) != UndoState::None) {
        groups[f[3]].entries[n].undo = UndoResult(f[5]);
    }
}

// Each line read whole: one that does not end with a line feed was cut short,
// and one whose check fails is no record.
std::vector<Group> ReadGroups(const std::string& text)
{
    std::unordered_map<std::string_view, Group> groups;
    std::string_view rest(text);
    Fields fields;
    size_t at = 0;
    for (size_t end; (end = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(end + 1), ++at) {
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (HistoryLineBody(line, &line))
            TakeLine(groups, line, at, fields);
    }
    std::vector<Group> ordered;
    for (auto& group : groups) {
        if (group.second.order != SIZE_MAX) {
            group.second.id = group.first;
            ordered.push_back(std::move(group.second));
        }
    }
    std::sort(ordered.begin(), ordered.end(), [](const Group& a, const Group& b) { return a.order > b.order; });
    return ordered;
}

// A path below a folder: segments that are neither empty nor only dots and
// blanks, ending with neither (the system would drop those), holding no
// character that names a drive, a stream or a wildcard.
bool RelativePath(std::string_view path)
{
    if (path.empty() || path.find_first_of("/:*?\"<>|") != std::string_view::npos)
        return false;
    for (size_t start = 0;;) {
        size_t end = path.find('\\', start);
        std::string_view segment = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (segment.empty() || segment.find_first_not_of(". ") == std::string_view::npos || segment.back() == '.'
            || segment.back() == ' ')
            return false;
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

bool Below(std::string_view path, const std::string& folder)
{
    return !folder.empty() && folder.back() == '\\' && path.size() > folder.size()
           && path.compare(0, folder.size(), folder) == 0 && RelativePath(path.substr(folder.size()));
}

// A version put aside lies below <target>_Older versions\ at the path its
// package had below the target, and that package lay outside that folder.
bool PutAsideInPlace(const std::string& target, std::string_view package, std::string_view destination)
{
    const std::string aside = target + OlderVersionsFolder + "\\";
    return Below(package, target) && Below(destination, aside)
           && destination.substr(aside.size()) == package.substr(target.size())
           && LowerAnsiText(std::string(package.substr(0, aside.size()))) != LowerAnsiText(aside);
}

// Empty text when the placement lies where its sort put its placements.
std::string OutsideSort(const SortInfo& sort, std::string_view package, std::string_view destination)
{
    static const char why[] = "its record names a file outside the folders of its sort, so it is left";
    if (sort.mode == CopyMode::Older)
        return PutAsideInPlace(sort.target, package, destination) ? std::string() : why;
    if (!Below(package, sort.source) || !Below(destination, sort.target))
        return why;
    std::string_view name = package.substr(package.rfind('\\') + 1);
    size_t slash = destination.rfind('\\');
    if (destination.substr(slash + 1) != name || slash <= sort.target.size())
        return why;
    return std::string();
}

bool ReadSort(const Group& group, SortInfo* sort)
{
    if (group.sortLine.empty())
        return false;
    Fields f;
    HistorySplitFields(group.sortLine, &f);
    sort->mode = f[4] == "Copy"    ? CopyMode::Copy
                 : f[4] == "Move"  ? CopyMode::Move
                 : f[4] == "Older" ? CopyMode::Older
                                   : CopyMode::Other;
    sort->time = std::string(f[0]);
    sort->index = std::string(f[3]);
    sort->source = std::string(f[5]);
    sort->target = std::string(f[6]);
    return true;
}

// What the records of one placement say.
struct Facts {
    std::string package, destination;
    PlacementOutcome outcome = PlacementOutcome::NotRun;
    bool known = false;  // the line after the operation is there
    bool readable = true;
    Placement placement;
    std::vector<std::string_view> folders;  // as named; the plan keeps each once
    bool identified = false;                // the line before names the package's identity
    FileIdentity identity = {};             //   which is this
};

// The package's identity after the destination in the line before the
// operation: four numbers, where a line of an earlier version has its folders
// (which end with "\") or nothing. The folders begin after it.
size_t ReadIdentity(const Fields& f, Facts& facts)
{
    unsigned long long size, time, volume, index;
    if (f.size() < PlaceFields + 4 || !HistoryNumber(f[8], &size) || !HistoryNumber(f[9], &time)
        || !HistoryNumber(f[10], &volume) || !HistoryNumber(f[11], &index) || volume > 0xFFFFFFFFull)
        return PlaceFields;
    facts.identified = index != 0;
    facts.identity.size = size;
    facts.identity.lastWriteTime = time;
    facts.identity.volume = static_cast<uint32_t>(volume);
    facts.identity.index = index;
    return PlaceFields + 4;
}

// Folder fields end with "\"; a line with anything else after its fixed
// fields is two lines run together, and not believed.
void AddFolders(const Fields& f, size_t from, Facts& facts)
{
    for (size_t i = from; i < f.size(); ++i) {
        if (f[i].empty() || f[i].back() != '\\')
            facts.readable = false;
        facts.folders.push_back(f[i]);
    }
}

void ReadPlaced(std::string_view line, Facts& facts, Fields& f)
{
    HistorySplitFields(line, &f);
    unsigned long long size = 0, time = 0;
    std::string_view outcome = f[4];
    facts.outcome = outcome == "placed"            ? PlacementOutcome::Placed
                    : outcome == "failed"          ? PlacementOutcome::Failed
                    : outcome == "package removed" ? PlacementOutcome::SourceRemoved
                    : outcome == "identical"       ? PlacementOutcome::Identical
                                                   : PlacementOutcome::NotRun;
    facts.readable = facts.readable && facts.outcome != PlacementOutcome::NotRun && HistoryNumber(f[9], &size)
                     && HistoryNumber(f[10], &time) && (f[11] == "yes" || f[11] == "no");
    facts.known = true;
    facts.package = std::string(f[7]);
    facts.destination = std::string(f[8]);
    facts.placement.size = facts.readable ? size : 0;
    facts.placement.lastWriteTime = facts.readable ? time : 0;
    facts.placement.destinationExisted = f[11] != "no";
    // The name a package's contents gave, where a line records one, is no folder.
    bool knownAs = f.size() > PlacedFields
                   && f[PlacedFields].substr(0, std::strlen(HistoryKnownAsPrefix)) == HistoryKnownAsPrefix;
    AddFolders(f, PlacedFields + (knownAs ? 1 : 0), facts);
}

// The fields are split into f, which is reused from entry to entry.
Facts ReadFacts(const Entry& entry, Fields& f)
{
    Facts facts;
    if (!entry.place.empty()) {
        HistorySplitFields(entry.place, &f);
        facts.package = std::string(f[6]);
        facts.destination = std::string(f[7]);
        AddFolders(f, ReadIdentity(f, facts), facts);
    }
    if (!entry.placed.empty()) {
        std::string package = std::move(facts.package), destination = std::move(facts.destination);
        ReadPlaced(entry.placed, facts, f);
        // The two lines of one placement name the same paths, or neither is believed.
        if (!entry.place.empty() && (package != facts.package || destination != facts.destination))
            facts.readable = false;
    }
    return facts;
}

// Whether the file at the destination is the package the line before named:
// its size and time (within the resolution its volume keeps times to), and
// on the package's own volume (a rename) its file index too, where that
// volume keeps exact times: FAT and exFAT give a moved file another index.
// A line of an earlier version names no identity: then whatever stands there
// is taken, as that version did.
bool PlacedFileIsThePackage(const Facts& facts, const FileIdentity& there)
{
    if (!facts.identified)
        return true;
    FileTimeResolution resolution = FileTimeResolutionShown(facts.identity.lastWriteTime);
    if (there.size != facts.identity.size
        || !FileTimesAgree(there.lastWriteTime, facts.identity.lastWriteTime, resolution))
        return false;
    return there.volume != facts.identity.volume || resolution != FileTimeResolution::Exact
           || there.index == facts.identity.index;
}

// An operation cut short: what the disk shows decides. A moved package is
// gone from its folder and stands at the destination, as the very file the
// line before named; a copy cut short cannot be told from a file that stood
// there, so it is left.
std::string Settle(const SortInfo& sort, Facts& facts)
{
    if (sort.mode == CopyMode::Move || sort.mode == CopyMode::Older) {
        FileIdentity there;
        DWORD error = 0;
        if (PathExists(facts.package) || !FileIdentityRead(facts.destination, &there, &error)
            || (there.attributes & FILE_ATTRIBUTE_DIRECTORY))
            return std::string();
        if (!PlacedFileIsThePackage(facts, there))
            return "the file there is not the one this sort placed";
        facts.outcome = PlacementOutcome::Placed;
        facts.placement.size = there.size;
        facts.placement.lastWriteTime = there.lastWriteTime;
        facts.placement.destinationExisted = false;
        return std::string();
    }
    if (PathExists(facts.destination))
        return "the sort stopped during its copy, so the file in the target is left";
    return std::string();
}

struct Builder {
    HistoryUndo& undo;
    SortInfo sort;
    std::unordered_set<std::string_view> kept = {};  // the plan's created folders
    Fields fields = {};
    // The sort's last placement with a line before it: the only one a crash
    // can have cut short. Any other without its line after has lost it.
    uint32_t lastPlace = UINT32_MAX;
};

void Add(Builder& build, uint32_t number, const Facts& facts, PlacementOutcome outcome, const std::string& reason)
{
    SortPlan& plan = build.undo.plan;
    size_t name = facts.package.rfind('\\') + 1;
    size_t slash = facts.destination.rfind('\\') + 1;
    Placement placement = facts.placement;
    placement.package = static_cast<uint32_t>(plan.packages.size());
    placement.entry = 0;
    placement.folder = facts.destination.substr(0, slash);
    placement.outcome = outcome;
    placement.firstCreatedFolder = 0;
    placement.createdFolderCount = 0;
    // The package had the size its placed file has.
    plan.packages.push_back({-1, facts.package.substr(0, name), facts.package.substr(name), placement.size});
    if (!reason.empty())
        build.undo.refused.push_back({plan.placements.size(), reason});
    plan.placements.push_back(placement);
    plan.historyNumbers.push_back(number);
}

// Folders the sort made for a placement: between its target and its file.
void KeepFolders(Builder& build, const Facts& facts)
{
    for (std::string_view folder : facts.folders) {
        bool ours = folder.size() > build.sort.target.size() && facts.destination.compare(0, folder.size(), folder) == 0
                    && Below(folder.substr(0, folder.size() - 1), build.sort.target);
        if (ours && build.kept.insert(folder).second)
            build.undo.plan.createdFolders.emplace_back(folder);
    }
}

// An undo cut short: the file is back in its folder and gone from the target.
bool UndoneOnDisk(const Facts& facts)
{
    return !PathExists(facts.destination) && PathExists(facts.package);
}

void TakeEntry(Builder& build, bool sortKnown, uint32_t number, const Entry& entry)
{
    Facts facts = ReadFacts(entry, build.fields);
    if (!facts.readable || (entry.place.empty() && entry.placed.empty()))
        return;
    std::string reason = sortKnown ? OutsideSort(build.sort, facts.package, facts.destination)
                                   : "the history holds no start line of its sort, so it is left";
    if (reason.empty() && build.sort.mode == CopyMode::Other)
        reason = "its sort neither copied nor moved, so it is left";
    if (reason.empty())
        KeepFolders(build, facts);
    if (entry.undo == UndoState::Done || entry.undo == UndoState::Final)
        return;
    if (reason.empty() && !facts.known) {
        reason = number == build.lastPlace ? Settle(build.sort, facts)
                                           : "its line after the copy or move cannot be read, so it is left";
    }
    if (!reason.empty())
        return Add(build, number, facts, PlacementOutcome::NotRun, reason);
    if (facts.outcome != PlacementOutcome::Placed && facts.outcome != PlacementOutcome::SourceRemoved)
        return;
    if (entry.undo == UndoState::Unsettled && UndoneOnDisk(facts))
        return;
    Add(build, number, facts, facts.outcome, std::string());
}

std::string SortTime(const Group& group)
{
    Fields f;
    HistorySplitFields(group.sortLine, &f);
    return std::string(f[0]);
}

bool SortPassesCheck(const Group& group, const HistorySortCheck& check)
{
    Fields f;
    HistorySplitFields(group.sortLine, &f);
    return check(HistorySortLine{f[0], f[3], f[4], f[5], f[6]});
}

// Whether a record of the sort would be handed to the undo, as far as its
// lines tell without looking at the disk.
bool HasStepLeft(const Group& group)
{
    Fields fields;
    for (const auto& entry : group.entries) {
        Facts facts = ReadFacts(entry.second, fields);
        bool open = entry.second.undo != UndoState::Done && entry.second.undo != UndoState::Final;
        bool step = !facts.known || facts.outcome == PlacementOutcome::Placed
                    || facts.outcome == PlacementOutcome::SourceRemoved;
        if (open && facts.readable && step && !(entry.second.place.empty() && entry.second.placed.empty()))
            return true;
    }
    return false;
}

// The group's sort as an undo takes it back; false when nothing is left.
bool BuildUndo(const Group& group, HistoryUndo* undo)
{
    *undo = HistoryUndo();
    Builder build{*undo, SortInfo()};
    bool sortKnown = ReadSort(group, &build.sort);
    for (auto entry = group.entries.rbegin(); entry != group.entries.rend(); ++entry) {
        if (!entry->second.place.empty()) {
            build.lastPlace = entry->first;
            break;
        }
    }
    for (const auto& entry : group.entries)
        TakeEntry(build, sortKnown, entry.first, entry.second);
    if (undo->plan.placements.empty())
        return false;
    undo->plan.mode = build.sort.mode;
    undo->plan.historyId = std::string(group.id);
    undo->plan.index = build.sort.index;
    undo->plan.time = build.sort.time;
    undo->plan.source = build.sort.source;
    undo->plan.target = build.sort.target;
    return true;
}

}  // namespace

bool HistoryFindUndos(const std::string& text, std::vector<HistoryUndo>* undos, const HistorySortCheck& check,
                      std::vector<std::string>* passedOver)
{
    undos->clear();
    std::vector<Group> groups = ReadGroups(text);
    auto refused = [&check](const Group& group) {
        return check && !group.sortLine.empty() && !SortPassesCheck(group, check);
    };
    HistoryUndo undo;
    for (const Group& group : groups) {
        if (group.tried)
            continue;
        if (!refused(group) && BuildUndo(group, &undo)) {
            undos->push_back(std::move(undo));
            break;
        }
        if (refused(group) && passedOver && HasStepLeft(group))
            passedOver->push_back(SortTime(group));
    }
    for (const Group& group : groups) {
        if (group.tried && !refused(group) && BuildUndo(group, &undo))
            undos->push_back(std::move(undo));
    }
    return !undos->empty();
}
