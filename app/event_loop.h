// The program's one event loop: user actions become events of the main window,
// handled one at a time by the dispatch table.
#pragma once

#include "window/event_queue.h"

struct AppState;

// Runs the handler that the dispatch table names for the event.
void DispatchEvent(AppState& app, const AppEvent& event);

// Waits for and handles events until a quit is requested.
void RunEventLoop(AppState& app);
