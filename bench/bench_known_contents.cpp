// What reading a package's contents adds to the preview and the sort: a heap
// of Android packages no file name places (200 of 20 MB on disk by default;
// the arguments give the count, the megabytes and the rounds), known by the
// label their manifest gives, against the same heap under names a row places
// ("Appium Settings_8.0.10 (n).apk"). Each package is the real build of
// io.appium.settings 8.0.10 that scripts/test-data.sh makes, grown to its
// size by bytes between its entries and its central directory.
//
// Per round, each in a fresh state (nothing read yet): the preview of the
// named heap; the preview of the unnamed heap with the page cache dropped
// (cold, where /proc/sys/vm/drop_caches is writable), and again warm; a
// second preview in the same state (the contents known from the first); a
// Move sort of each heap, moved back afterwards. Medians, their spread, and
// the time a package adds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "model/app_state.h"
#include "plan/sort_preview.h"
#include "support/temp_folder.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"

#include "bench_window.h"

namespace {

struct Heap {
    std::string folder;  // ends with "\"
    std::vector<std::string> names;
};

std::string RealBuildPath()
{
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder(exe);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + "test-data\\apk\\io.appium.settings-8.0.10.apk";
}

uint32_t Le32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The build with `grow` bytes before its central directory, whose end record
// (without a comment) is moved on by as much.
bool GrownBuild(const std::string& real, size_t grow, std::string* head, std::string* tail)
{
    size_t end = real.size() - 22;
    if (real.size() < 22 || real.compare(end, 4, "PK\5\6") != 0)
        return false;
    size_t directory = Le32(real, end + 16);
    *head = real.substr(0, directory);
    *tail = real.substr(directory);
    uint32_t moved = static_cast<uint32_t>(directory + grow);
    for (int i = 0; i < 4; ++i)
        (*tail)[end - directory + 16 + i] = static_cast<char>(moved >> (8 * i));
    return true;
}

// Writes the heap's files, each flushed to the disk so that dropping the
// page cache can take them.
bool MakeHeap(const Heap& heap, const std::string& real, uint64_t size)
{
    std::string head, tail;
    if (!GrownBuild(real, size > real.size() ? size - real.size() : 0, &head, &tail))
        return false;
    std::mt19937 random(3);
    std::string filler(1 << 20, '\0');
    for (char& c : filler)
        c = static_cast<char>(random());
    MakeFolders(heap.folder);
    for (const std::string& name : heap.names) {
        HANDLE file = CreateFileA((heap.folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, head.data(), static_cast<DWORD>(head.size()), &written, nullptr);
        for (uint64_t left = size > real.size() ? size - real.size() : 0; left > 0;) {
            DWORD piece = static_cast<DWORD>(left < filler.size() ? left : filler.size());
            WriteFile(file, filler.data(), piece, &written, nullptr);
            left -= piece;
        }
        WriteFile(file, tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr);
        FlushFileBuffers(file);
        CloseHandle(file);
    }
    return true;
}

// Drops Linux's page cache; false where that is not allowed.
bool DropPageCache()
{
    HANDLE file = CreateFileA("Z:\\proc\\sys\\vm\\drop_caches", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool dropped = WriteFile(file, "3\n", 2, &written, nullptr) && written == 2;
    CloseHandle(file);
    return dropped;
}

// A fresh state over the heap, as a load of the Android collection with the
// user's row "Appium Settings" leaves it.
void ListHeap(AppState& app, const Heap& heap, const std::string& target)
{
    app = AppState();
    app.TitleBanner = "Quillet - ";
    app.Settings.LastIndex = "Android";
    app.Settings.CopyOrMove = "Move";
    app.Settings.DumpLeftOvers = "No";
    app.IndexList = {{"_Tools", "Appium Settings"}};
    app.ActiveSource = heap.folder;
    app.ActiveTarget = target;
    ListViewsBind(&app);
    for (const std::string& name : heap.names)
        ListAddRow(ListFiles, -1, heap.folder + "\n" + name);
}

double TimedPreview(AppState& app)
{
    double start = BenchNow();
    PreviewSort(app);
    return BenchNow() - start;
}

// A Move sort of the heap, its packages moved back afterwards.
double TimedSortAndBack(AppState& app, const Heap& heap, const std::string& target)
{
    double seconds = BenchTimedSort(app);
    for (const std::string& name : heap.names)
        MoveFileA((target + "_Tools\\" + name).c_str(), (heap.folder + name).c_str());
    return seconds;
}

void Report(const char* what, const std::vector<double>& seconds, const std::vector<double>& baseline, int count)
{
    std::printf("%-44s %s", what, BenchMedianText(seconds).c_str());
    if (!baseline.empty() && !seconds.empty())
        std::printf(", %.3f ms a package more", (BenchMedian(seconds) - BenchMedian(baseline)) * 1000.0 / count);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : 200;
    uint64_t megabytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20;
    int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    std::string real = ReadFileBytes(RealBuildPath());
    if (real.empty()) {
        std::printf("no %s: scripts/test-data.sh makes it\n", RealBuildPath().c_str());
        return 1;
    }
    if (!BenchWindowOpen())
        return 1;
    TempFolder temp;
    Heap unnamed{temp / "Unnamed\\", {}}, named{temp / "Named\\", {}};
    for (int i = 0; i < count; ++i) {
        unnamed.names.push_back(i == 0 ? "base.apk" : "app-release (" + std::to_string(i) + ").apk");
        named.names.push_back("Appium Settings_8.0.10 (" + std::to_string(i) + ").apk");
    }
    if (!MakeHeap(unnamed, real, megabytes << 20) || !MakeHeap(named, real, megabytes << 20)) {
        std::printf("the real build has no end record where expected\n");
        return 1;
    }
    std::printf("%d packages of %llu MB, %d rounds\n", count, static_cast<unsigned long long>(megabytes), rounds);
    std::string target = temp / "Sorted\\";
    AppState app;
    std::vector<double> byName, cold, warm, known, sortByName, sortByContents;
    bool canDrop = true;
    for (int round = 0; round < rounds; ++round) {
        ListHeap(app, named, target);
        byName.push_back(TimedPreview(app));
        canDrop = canDrop && DropPageCache();
        if (canDrop) {
            ListHeap(app, unnamed, target);
            cold.push_back(TimedPreview(app));
        }
        ListHeap(app, unnamed, target);
        warm.push_back(TimedPreview(app));
        known.push_back(TimedPreview(app));
        ListHeap(app, named, target);
        sortByName.push_back(TimedSortAndBack(app, named, target));
        ListHeap(app, unnamed, target);
        sortByContents.push_back(TimedSortAndBack(app, unnamed, target));
    }
    Report("preview, names place them:", byName, {}, count);
    if (canDrop)
        Report("preview, contents read, cold:", cold, byName, count);
    else
        std::printf("preview, contents read, cold: not measured, /proc/sys/vm/drop_caches is not writable here\n");
    Report("preview, contents read, warm:", warm, byName, count);
    Report("preview again, contents known:", known, byName, count);
    Report("Move sort, names place them:", sortByName, {}, count);
    Report("Move sort, contents read, warm:", sortByContents, sortByName, count);
    ListViewsBind(nullptr);
    BenchWindowClose();
    return 0;
}
