// Tests that build the real main window in the test process.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "model/app_state.h"

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    AppState app;
};

// Handles every pending window message, as the event loop would, keeping the
// events they raise.
void PumpPending();

// The status list's rows as "title|explanation".
std::vector<std::string> StatusLines();
// Every row of a list, its columns joined by "|".
std::vector<std::string> ListRows(int list, int columns);

// One line as StatusLines shows it.
std::string StatusLine(const std::string& title, const std::string& explanation);

// The colour shown near the bottom edge of a list row, x pixels from its left.
COLORREF ListRowPixel(int id, int row, int x);

// The rectangle of a control relative to its parent's client area.
RECT RectInParent(HWND control);
