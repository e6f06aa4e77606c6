// The queue of the main window's events: the window procedure posts user
// actions here, the event loop waits for them, and long work drains the
// system's message queue without acting on what it raises.
#pragma once

struct AppEvent {
    enum Kind { CloseRequest, ControlEvent, ContextMenu } kind;
    int control;  // control number, for control and context-menu events
    int code;     // the control's notification code
    // Where a context menu was asked for, in screen pixels; -1, -1 when it
    // was asked for with the keyboard.
    int x = -1;
    int y = -1;
};

// Queues an event; called by the window procedure.
void EventPost(const AppEvent& event);

// Waits without a time-out for the next event. Returns false when the
// system's message queue has ended.
bool EventWait(AppEvent* event);

enum class EventWaitResult { Event, Ended, Signalled, TimedOut };

// EventWait that also wakes when the handle or the second one (each if not
// null) is signalled or the time-out (milliseconds, or INFINITE) has passed.
// Events come first.
EventWaitResult EventWaitFor(AppEvent* event, void* handle, unsigned long timeout, void* second = nullptr);

// Processes pending window messages without waiting, so that the window
// repaints during long work, and drops every event they raise.
void EventDrain();

// Forgets every queued event.
void EventQueueClear();
