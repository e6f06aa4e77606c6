// The copy of one large package through the room of file acts (opened by
// its name in its held folder, read through that handle into a staged copy
// made and held in the staging folder, renamed into its held category folder)
// against CopyFileA of the same file by its path: both write every byte. The
// variants alternate from round to round, on the disk and on the RAM disk;
// the median of the rounds and their spread are printed, and the ratio of
// the medians.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "file_acts/act_folder.h"
#include "place/package_file_ops.h"
#include "place/placement_checks.h"
#include "place/staging_folder.h"
#include "support/temp_folder.h"

#include "bench_window.h"

namespace {

void WriteLargeFile(const std::string& path, unsigned long long bytes)
{
    MakeFolders(path.substr(0, path.find_last_of('\\')));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string block(1 << 20, '\0');
    for (size_t at = 0; at < block.size(); ++at)
        block[at] = static_cast<char>((at * 131) ^ (at >> 9));
    for (unsigned long long done = 0; done < bytes; done += block.size()) {
        DWORD written = 0;
        block[0] = static_cast<char>(done >> 20);
        WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    }
    CloseHandle(file);
}

double SystemCopy(const std::string& root)
{
    std::string to = root + "System\\Format_1.lks";
    MakeFolders(root + "System");
    double start = BenchNow();
    if (!CopyFileA((root + "In\\Format_1.lks").c_str(), to.c_str(), TRUE))
        std::printf("  (CopyFileA failed: %lu)\n", GetLastError());
    double seconds = BenchNow() - start;
    DeleteFileA(to.c_str());
    return seconds;
}

double RoomCopy(const std::string& root)
{
    MakeFolders(root + "Room");
    ActFolder target, in, into;
    ActFolderOpen(target, root);
    ActFolderOpen(in, root + "In\\");
    ActFolderOpen(into, root + "Room\\");
    StagingFolder staging;
    StagingFolderSetUp(staging, &target, root, "");
    double start = BenchNow();
    ActFile package;
    if (PackageOpen(package, in, "Format_1.lks", false) || !CopyPackageFile(package, into, staging, false).done)
        std::printf("  (the room's copy failed)\n");
    double seconds = BenchNow() - start;
    StagingFolderEnd(staging);
    DeleteFileA((root + "Room\\Format_1.lks").c_str());
    return seconds;
}

void Measure(const char* medium, const std::string& root, unsigned long long bytes, int rounds)
{
    WriteLargeFile(root + "In\\Format_1.lks", bytes);
    std::vector<double> system, room;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            system.push_back(SystemCopy(root));
            room.push_back(RoomCopy(root));
        } else {
            room.push_back(RoomCopy(root));
            system.push_back(SystemCopy(root));
        }
    }
    std::printf("%s, %llu MB, %d rounds (median, lowest to highest):\n", medium, bytes >> 20, rounds);
    std::printf("  CopyFileA by path       %s\n", BenchMedianText(system).c_str());
    std::printf("  the room's copy         %s   %.2fx CopyFileA\n", BenchMedianText(room).c_str(),
                BenchMedian(room) / BenchMedian(system));
}

}  // namespace

// Arguments: megabytes (1024 by default), rounds (7).
int main(int argc, char** argv)
{
    unsigned long long bytes = (argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024ull) << 20;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    {
        TempFolder disk;
        Measure("disk", disk.path(), bytes, rounds);
    }
    std::string ram = BenchRamFolder("quillet-file-acts");
    if (!ram.empty()) {
        Measure("RAM disk", ram, bytes, rounds);
        RemoveTree(ram);
    }
    return 0;
}
