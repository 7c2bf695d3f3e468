#pragma once

#include <SDL/SDL.h>

#include <string>

// The images installed with the program: <prefix>/share/plant/art for an
// executable at <prefix>/bin/plant, wherever the prefix lies. Empty where
// the executable cannot be found or has no such folder beside it.
std::string installedArtDir();

// Loads ./art/<name> from the working directory; where that is missing or
// cannot be loaded, the copy in installedDir. Prints "error loading :
// ./art/<name>" where the working directory's file exists but cannot be
// loaded, or where neither loads; once either way. Null if neither loads.
SDL_Surface* loadArt(const std::string& name, const std::string& installedDir = installedArtDir());
