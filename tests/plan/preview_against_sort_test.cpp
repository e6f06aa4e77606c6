// The preview against the sort, over heaps of packages made at random from a
// seed: names of several apps, kinds and versions, the same name in two
// folders, identical and different files at the destinations and below
// _Older versions, read-only packages and files, files other programs hold,
// a file where a category folder must be, folders that are links out of the
// target or the source; the options "own kind only",
// "older versions aside after each sort" and the leftover report on and off;
// Copy and Move. For every heap the preview's row for each placement says
// what the sort then does with it. Real files in a fresh folder, the real
// window in the test process. A failure names its heap's seed; with
// QUILLET_HEAP_SEED set to it, the test that made that heap makes it alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <list>
#include <random>
#include <string>
#include <vector>

#include "app/sort_steps.h"
#include "plan/known_by_contents.h"
#include "plan/own_kind.h"
#include "plan/sort_decisions.h"
#include "plan/sort_plan.h"
#include "plan/sort_preview.h"
#include "support/folder_link.h"
#include "support/temp_folder.h"
#include "support/window_test.h"
#include "util/scoped_handle.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/icon_slots.h"
#include "window/paced_screen.h"

namespace {

struct App {
    const char* name;      // up to the version
    const char* category;  // its first category folder below the target
};

// Player_Max_ is matched by two rows; Unknown_App_ by none.
const App Apps[] = {{"Format_Factory_", "_Audio\\_Converter"}, {"Player_Max_", "_Video\\_Player"},
                    {"Office_Viewer_", "_Office"},             {"Tool_Kit_", "_Tools"},
                    {"Unknown_App_", ""}};
const char* const Kinds[] = {".lks", ".paf.exe", ".apk"};
const int KindSlots[] = {ImageLiberkeyPackage, ImagePortableAppsPackage, ImageAndroidPackage};
const char* const Versions[] = {"1.0", "1.5", "2.0", "2.0.1"};
const char* const Editions[] = {"", "", "_x64"};
const char* const Contents[] = {"a", "b", "a longer package"};

class Heap {
public:
    explicit Heap(unsigned seed) : random_(seed) {}

    int Below(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T, size_t N>
    const T& Pick(const T (&items)[N])
    {
        return items[Below(static_cast<int>(N))];
    }

private:
    std::mt19937 random_;
};

class PreviewAgainstSortTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        app.TitleBanner = "Quillet - ";
        app.Settings.LastIndex = "LiberKey";
        app.IndexList = {{"_Audio\\_Converter", "Format_"}, {"_Video\\_Player", "Player_"}, {"_Media", "Max_"},
                         {"_Office", "Office_"},            {"_Tools", "Tool_"}};
        app.ActiveSource = temp / "In\\";
        app.ActiveTarget = temp / "Out\\";
        app.LogFilePath = temp / "Quillet.Log";
    }

    std::string Source() const { return temp / "In\\"; }
    std::string Target() const { return temp / "Out\\"; }

    // A file that copies the package's bytes and last-write time.
    static void CopyOf(const std::string& package, const std::string& copy)
    {
        WriteFileBytes(copy, "");
        CopyFileA(package.c_str(), copy.c_str(), FALSE);
    }

    static void ReadOnly(const std::string& path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); }

    // What stands at a name the package may meet: its identical copy (with
    // its time, or only its bytes), or another file; sometimes read-only,
    // sometimes held by another program that shares reading alone.
    void StandAt(Heap& heap, const std::string& package, const std::string& path)
    {
        int kind = heap.Below(3);
        if (kind == 0)
            CopyOf(package, path);
        else
            WriteFileBytes(path, kind == 1 ? ReadFileBytes(package) : "another file");
        if (heap.Chance(15))
            ReadOnly(path);
        else if (heap.Chance(5))
            held.emplace_back(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                          nullptr));
    }

    // One package in the downloads, listed; the same name once more in a
    // subfolder, now and then with the same bytes and time.
    void AddPackage(Heap& heap)
    {
        const App& chosen = heap.Pick(Apps);
        int kind = heap.Below(3);
        std::string name = std::string(chosen.name) + heap.Pick(Versions) + heap.Pick(Editions) + Kinds[kind];
        std::string folder = Source() + (heap.Chance(20) ? "Sub\\" : "");
        if (FileExists(folder + name))
            return;
        std::string path = folder + name;
        std::string twin = Source() + (folder == Source() ? "Sub\\" : "") + name;
        if (FileExists(twin) && heap.Chance(50))
            CopyOf(twin, path);
        else
            WriteFileBytes(path, heap.Pick(Contents));
        ListAddRow(ListFiles, -1, folder + "\n" + name, KindSlots[kind]);
        if (*chosen.category && heap.Chance(30))
            StandAt(heap, path, Target() + chosen.category + "\\" + name);
        if (*chosen.category && heap.Chance(35)) {
            std::string newer = std::string(chosen.name) + "9.0" + Kinds[kind];
            WriteFileBytes(heap.Chance(70) ? Target() + chosen.category + "\\" + newer
                                           : Target() + "_Older versions\\" + chosen.category + "\\" + newer,
                           "newer");
        }
        if (*chosen.category && heap.Chance(35))
            StandAt(heap, path, Target() + "_Older versions\\" + chosen.category + "\\" + name);
        if (heap.Chance(12))
            ReadOnly(path);
        else if (heap.Chance(4))
            held.emplace_back(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }

    void MakeHeap(Heap& heap, CopyMode mode)
    {
        app.Settings.CopyOrMove = mode == CopyMode::Copy ? "Copy" : "Move";
        app.Settings.DumpLeftOvers = heap.Chance(50) ? "Yes" : "No";
        app.Options[ProgramOption::OwnKindOnly].value = heap.Chance(30);
        app.Options[ProgramOption::OlderVersionsAside].value = heap.Chance(60);
        MakeFolders(Target());
        if (heap.Chance(5))
            WriteFileBytes(Target() + "_Tools", "a file where a folder must be");
        // A category folder, or a folder of downloads, that leads elsewhere.
        MakeFolders(Source());
        MakeFolders(temp / "Elsewhere\\");
        if (heap.Chance(5))
            links.emplace_back(Target(), "_Office", "../Elsewhere");
        if (heap.Chance(5))
            links.emplace_back(Source(), "Sub", "../Elsewhere");
        for (int count = 3 + heap.Below(10); count > 0; --count)
            AddPackage(heap);
    }

    // Every placement of the heap: what the preview's row says, what the
    // plan it shows decided, and what the sort then did, with the seed.
    void PreviewThenSort(unsigned seed)
    {
        SortPlan plan = PlanSortKnowing(app, OwnKindRows(app, EveryRow(app.Packages)), CopyModeOf(app.Settings.CopyOrMove));
        PacedScreen screen;
        PacedScreenBegin(screen);
        SortDecide(plan, app, SortLooks::Files, screen);
        PacedScreenEnd(screen);
        std::vector<std::string> disk = DiskListing(temp.path());
        PreviewSort(app);
        std::vector<std::string> rows = ListRows(ListSorted, 3);
        ASSERT_EQ(DiskListing(temp.path()), disk) << "seed " << seed << ": the preview changed the disk";
        SortOutcome sorted = RunSortOfRows(app, EveryRow(app.Packages));
        ASSERT_EQ(rows.size(), plan.placements.size()) << "seed " << seed;
        ASSERT_EQ(sorted.acts.size(), plan.placements.size()) << "seed " << seed;
        for (size_t at = 0; at < rows.size(); ++at) {
            const Placement& placement = plan.placements[at];
            std::string row = app.IndexList[placement.entry].category + "|" + plan.packages[placement.package].name;
            EXPECT_EQ(rows[at], row + "|" + SortDecisionStatus(sorted.acts[at]))
                << "seed " << seed << ", placement " << at << " of " << rows.size();
            EXPECT_EQ(static_cast<int>(placement.act), static_cast<int>(sorted.acts[at]))
                << "seed " << seed << ", placement " << at << " (" << row << "): planned and done";
        }
    }

    void Clear()
    {
        held.clear();
        links.clear();
        RemoveTree(temp / "Elsewhere\\");
        RemoveTree(Source());
        RemoveTree(Target());
        ListRemoveAllRows(ListFiles);
        ListRemoveAllRows(ListSorted);
        ListRemoveAllRows(ListStatus);
        app.LastSort = SortPlan();
    }

    // Heaps from the seeds first to first + count; with QUILLET_HEAP_SEED set,
    // only that one, to look again at a heap a failure named.
    void Heaps(unsigned first, unsigned count, CopyMode mode)
    {
        if (const char* only = getenv("QUILLET_HEAP_SEED")) {
            unsigned seed = static_cast<unsigned>(strtoul(only, nullptr, 10));
            first = seed >= first && seed < first + count ? seed : 0;
            count = first ? 1 : 0;
        }
        for (unsigned seed = first; seed < first + count && !HasFailure(); ++seed) {
            Heap heap(seed);
            MakeHeap(heap, mode);
            PreviewThenSort(seed);
            Clear();
        }
    }

    TempFolder temp;
    std::list<ScopedHandle> held;  // files other programs hold
    std::list<FolderLink> links;
};

}  // namespace

TEST_F(PreviewAgainstSortTest, CopyHeapsSeededFrom1000)
{
    Heaps(1000, 60, CopyMode::Copy);
}

TEST_F(PreviewAgainstSortTest, CopyHeapsSeededFrom2000)
{
    Heaps(2000, 60, CopyMode::Copy);
}

TEST_F(PreviewAgainstSortTest, MoveHeapsSeededFrom3000)
{
    Heaps(3000, 60, CopyMode::Move);
}

TEST_F(PreviewAgainstSortTest, MoveHeapsSeededFrom4000)
{
    Heaps(4000, 60, CopyMode::Move);
}
