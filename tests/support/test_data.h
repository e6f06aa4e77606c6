// The real packages the contents tests read, made by scripts/test-data.sh
// (which scripts/install-deps.sh runs) in the build folder's test-data
// folder, or where $QUILLET_TEST_DATA names (a Linux path). A file missing
// there fails the test that asks for it, saying how to make it.
#pragma once

#include <string>

// The file's Windows path (through drive Z:), e.g. TestDataPath("apk/mini.apk").
std::string TestDataPath(const std::string& relative);

// The file's bytes; empty, with a test failure saying how to make the data,
// when it cannot be read.
std::string TestDataBytes(const std::string& relative);
