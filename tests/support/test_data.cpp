#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_folder.h"

std::string TestDataPath(const std::string& relative)
{
    const char* set = std::getenv("QUILLET_TEST_DATA");
    std::string path = std::string("Z:") + (set && *set ? set : QUILLET_TEST_DATA) + "/" + relative;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string TestDataBytes(const std::string& relative)
{
    std::string bytes = ReadFileBytes(TestDataPath(relative));
    if (bytes.empty())
        ADD_FAILURE() << "test data missing: " << TestDataPath(relative)
                      << " (made by scripts/test-data.sh, which scripts/install-deps.sh runs)";
    return bytes;
}
