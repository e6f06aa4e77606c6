// What the undo from the history may act on.
//
// The threat this guards against: Quillet runs as administrator. Quillet.exe
// and the folder it starts in (the settings, the user's own rows and the
// history) must be writable only by administrators, like any elevated
// program's files: a program that can write there can change what Quillet
// does. Everything else Quillet reads is untrusted input: the history's
// records (an editor, a backup tool or another program may have written
// them), the trees below the source and the target (downloads arrive from the
// internet; other programs make folders and links there), and package names.
// As a second line of defence, even where that folder is writable by others,
// the history gives no power beyond the settings: the undo acts only on a
// sort whose collection and folders are the settings' now, and for each of
// its records only on package files whose folders really lie below those
// folders.
#pragma once

struct AppState;
struct HistorySortLine;
struct HistoryUndo;

// Whether the sort's collection, source and target are the folders the
// settings in force name for that collection, or for the loaded collection
// its active folders: compared byte for byte, as the sort compares folders.
bool UndoSortTrusted(const AppState& app, const HistorySortLine& sort);

// Refuses (as not undone, with the reason) every step of the found sort whose
// record fails a check: its package name is not a package's by the fetch's
// rule; a name in its paths below the sort's folders is a device's; a path
// has a "\\?\", "\\.\" or UNC prefix its sort's folder lacks; its package's
// folder does not resolve to the source or below it, or its placed file's
// folder not below the target; the placed file found there carries another
// long name (asked only of a name with a "~", as every short name the system
// makes has). Keeps only the made folders that resolve below the target.
// It runs on the records before any disk work, so that a record is refused
// with its own reason and never reaches the undo; the undo then holds each
// step's folders and checks them again (HoldStepFolders), which guards the
// act itself against a folder swapped for a link after this check.
void UndoTrustRecords(HistoryUndo& undo);
