// Loading an index with 10,000 rows of the user's own beside the settings,
// against loading it with the compiled-in catalogue alone, in the real
// window; reading and checking those rows against walking the compiled-in
// catalogue; and reading a file of the largest size taken, all of it refused
// lines, against reading its bytes alone.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/index_load.h"
#include "catalogue/user_rows_file.h"
#include "model/app_state.h"
#include "settings/settings_file.h"
#include "support/temp_folder.h"
#include "window/control_ops.h"
#include "window/controls.h"
#include "window/list_views.h"

#include "bench_window.h"

namespace {

const int Rounds = 15;

// Rows shaped like LiberKey's: names ending with "_", categories of one to
// three "_" segments.
std::string UserRowsText(size_t rows)
{
    std::string text = "; rows of my own\r\n[LiberKey]\r\n";
    for (size_t i = 0; i < rows; ++i) {
        std::string category = "_Group" + std::to_string(i % 12) + "\\_Kind" + std::to_string(i % 97);
        if (i % 3 == 0)
            category += "\\_Leaf" + std::to_string(i % 7);
        text += "Portable_App" + std::to_string(i) + "_Tool_ = " + category + "\r\n";
    }
    return text;
}

// Lines that every check refuses, taken in turn up to just below the largest
// file read: each costs the reader a line and the check a refusal.
std::string RefusedLinesText(const std::vector<std::string>& kinds)
{
    std::string text = "[LiberKey]\r\n";
    const size_t size = 16 * 1024 * 1024 - 64;
    for (size_t i = 0; text.size() < size; ++i)
        text += kinds[i % kinds.size()] + "\n";
    return text;
}

// The bare read of the whole file as the baseline, then reading and checking
// it, the fastest of three each; the process's peak memory is taken after
// each, before any window is made.
void RefusedFileFigures(const std::string& path, const char* title, const std::string& text)
{
    WriteFileBytes(path, text);
    double before = PeakResidentMegabytes();
    double bare = 1e9, reading = 1e9;
    for (int round = 0; round < 3; ++round) {
        double start = BenchNow();
        std::string bytes;
        ReadFileOnly(path, &bytes);
        bare = std::min(bare, BenchNow() - start);
    }
    double barePeak = PeakResidentMegabytes();
    size_t lines = 0;
    for (int round = 0; round < 3; ++round) {
        double start = BenchNow();
        UserRows user = UserRowsLoad(path, "LiberKey", "C:\\Target\\");
        reading = std::min(reading, BenchNow() - start);
        lines = user.lines.size();
    }
    double readPeak = PeakResidentMegabytes();
    std::printf("16 MB of %s, fastest of 3: peak resident %.1f MB before\n", title, before);
    std::printf("bare read of the file           %8.1f ms  (1.00; peak %.1f MB)\n", bare * 1e3, barePeak);
    std::printf("read and check of the file      %8.1f ms  (%.1fx the bare read; peak %.1f MB, %.1fx the bare read's)\n",
                reading * 1e3, reading / bare, readPeak, readPeak / barePeak);
    std::printf("                                (%u status lines)\n", static_cast<unsigned>(lines));
}

// The fastest of several loads, each starting from empty lists.
double LoadTime(AppState& app, size_t* rows)
{
    double best = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        ListRemoveAllRows(ListStatus);
        double start = BenchNow();
        LoadIndex(app);
        best = std::min(best, BenchNow() - start);
    }
    *rows = app.IndexList.size();
    return best;
}

double CatalogueWalkTime(size_t* rows)
{
    double best = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        IndexList list;
        double start = BenchNow();
        for (const char* row = CatalogueFirstRow("LiberKey"); !CatalogueRowIsEnd(row); row = CatalogueNextRow(row))
            list.push_back(SplitCatalogueRow(row));
        best = std::min(best, BenchNow() - start);
        *rows = list.size();
    }
    return best;
}

double UserRowsReadTime(const std::string& path, size_t* rows)
{
    double best = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        double start = BenchNow();
        UserRows user = UserRowsLoad(path, "LiberKey", "C:\\Target\\");
        best = std::min(best, BenchNow() - start);
        *rows = user.rows.size();
    }
    return best;
}

}  // namespace

int main()
{
    TempFolder root;
    // First, so that the peak memory it reports is its own.
    RefusedFileFigures(root / "Refused.Catalogue.Ini", "refused lines of six kinds",
                       RefusedLinesText({"x", "= _Empty", "Up_ = ..\\x", "Star_ = a*b", "Gap_ = a\\\\b", "no equals"}));
    if (!BenchWindowOpen())
        return 1;
    MakeFolders(root / "In");
    AppState app;
    ListViewsBind(&app);
    app.TitleBanner = "Quillet - ";
    app.Settings.LiberkeySourcePath = root / "In\\";
    app.Settings.LiberkeyTargetPath = root / "Out\\";
    app.UserRowsFilePath = root / "Quillet.Catalogue.Ini";
    CtlAddItem(ComboIndex, "LiberKey");
    CtlSetText(ComboIndex, "LiberKey");

    size_t plainRows = 0, withRows = 0, walked = 0, read = 0;
    double plain = LoadTime(app, &plainRows);
    WriteFileBytes(app.UserRowsFilePath, UserRowsText(UserRowsLimit));
    double withUser = LoadTime(app, &withRows);
    double walk = CatalogueWalkTime(&walked);
    double reading = UserRowsReadTime(app.UserRowsFilePath, &read);

    std::printf("fastest of %d loads of LiberKey, its source folder empty\n", Rounds);
    std::printf("load, compiled-in catalogue     %8.2f ms  (%u rows; 1.00)\n", plain * 1e3,
                static_cast<unsigned>(plainRows));
    std::printf("load, with 10,000 user rows     %8.2f ms  (%u rows; %.1fx the load without them)\n", withUser * 1e3,
                static_cast<unsigned>(withRows), withUser / plain);
    std::printf("walk of the compiled-in rows    %8.3f ms  (%u rows; %.3f us a row)\n", walk * 1e3,
                static_cast<unsigned>(walked), walk * 1e6 / static_cast<double>(walked));
    std::printf("read and check of the user rows %8.3f ms  (%u rows; %.3f us a row, %.1fx a compiled-in row)\n",
                reading * 1e3, static_cast<unsigned>(read), reading * 1e6 / static_cast<double>(read),
                (reading / static_cast<double>(read)) / (walk / static_cast<double>(walked)));

    ListViewsBind(nullptr);
    BenchWindowClose();
    // Last, as the one that holds the most: the most lines a file can hold.
    RefusedFileFigures(root / "Refused.Catalogue.Ini", "one-letter lines", RefusedLinesText({"x"}));
    return 0;
}
