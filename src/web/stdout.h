#pragma once

// Hands each line the program writes to standard output to the page whole,
// in one piece however long, in place of the browser's byte-at-a-time
// terminal. Called once, before the first line.
void printWholeLines();
