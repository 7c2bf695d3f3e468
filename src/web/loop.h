#pragma once

#include "app/frame.h"

// The page's frame loop, which the browser paces and which stops drawing
// once nothing changes.

// The running loop's frame objects; null before the loop starts and once
// the program has ended.
Frame* runningFrame();

// Has the loop draw again, as after an event, until the page settles.
void wakeFrames();
