#include "fetch_tree.h"

#include "support/temp_folder.h"
#include "util/ansi_text.h"

void BenchMakeFetchTree(const std::string& root, int packages)
{
    std::string folder;
    for (int i = 0; i < packages; ++i) {
        int leaf = i / 25;
        if (i % 25 == 0) {
            folder = WithTrailingBackslash(root) + "Top" + std::to_string(leaf / 64) + "\\Mid"
                     + std::to_string(leaf / 8 % 8) + "\\Leaf" + std::to_string(leaf % 8) + "\\";
            for (int k = 0; k < 12; ++k)
                WriteFileBytes(folder + std::to_string(k) + "readme.txt", "");
        }
        WriteFileBytes(folder + "Package_" + std::to_string(i) + "_1.0.lks", "");
    }
}
