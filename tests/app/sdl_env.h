#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

// SDL with its dummy video driver: a 600 x 400 x 32 software window that
// needs no display.
struct SdlWindow : testing::Test {
    static SDL_Surface* window;

    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        SDL_Init(SDL_INIT_VIDEO);
        window = SDL_SetVideoMode(600, 400, 32, 0);
        ASSERT_NE(window, nullptr) << SDL_GetError();
    }

    static void TearDownTestSuite() { SDL_Quit(); }
};

inline SDL_Surface* SdlWindow::window = nullptr;
