#pragma once

#include "app/frame.h"

// What the page is told of each frame, for those who cannot see the canvas.

// Notes what a press among the frame's events acts on: the square the last
// plant pass selected.
void beforeEvents(const Frame& frame);

// Tells the page what the finished frame shows, where that changed since the
// last frame: the highlighted square, the plant's squares and their light,
// and what a press did.
void afterFrame(const Frame& frame);
