// The program's one event loop: user actions become events of the main window,
// handled one at a time by the dispatch table.
#pragma once

struct AppState;

struct AppEvent {
    enum Kind { CloseRequest, ControlEvent } kind;
    int control;  // control number, for control events
    int code;     // the control's notification code
};

// Queues an event; called by the window procedure.
void EventPost(const AppEvent& event);

// Waits without a time-out for the next event. Returns false when the
// system's message queue has ended.
bool EventWait(AppEvent* event);

// Processes pending window messages without waiting, so that the window
// repaints during long work, and drops every event they raise.
void EventDrain();

// Forgets every queued event.
void EventQueueClear();

// Runs the handler that the dispatch table names for the event.
void DispatchEvent(AppState& app, const AppEvent& event);

// Waits for and handles events until a quit is requested.
void RunEventLoop(AppState& app);
