#pragma once

#include "app/events.h"

// The browser's events on their way to the frame: the mouse and fingers,
// placed by the page, and the keys, read by the browser's SDL. The frame
// loop admits them at the start of each frame.

// Moves the events read from the browser, and the mouse and fingers queued since,
// into the frame's queue in order; a press away from where the last plant
// pass looked waits for the next frame behind a motion to its position.
void admitEvents(const Input& input);
