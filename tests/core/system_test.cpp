#include "core/system.h"

#include <gtest/gtest.h>

#include <SDL.h>

// Each new colour cursor frees the one it replaces: SDL no longer knows the old one.
TEST(System, ColourCursorReplacesAndFreesThePreviousOne)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Surface* probe = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_Cursor* supported = SDL_CreateColorCursor(probe, 0, 0);
    SDL_FreeSurface(probe);
    if (!supported) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        GTEST_SKIP() << "the video driver has no cursors (runs under X: SDL_VIDEODRIVER=x11)";
    }
    SDL_FreeCursor(supported);
    SetCursorImage("textures/tilesets/frame.png", 0, 0);
    SDL_Cursor* first = SDL_GetCursor();
    ASSERT_EQ(GetSystem()->mColorCursor.get(), first);
    SetCursorImage("textures/tilesets/frame.png", 1, 1);
    SDL_Cursor* second = SDL_GetCursor();
    ASSERT_NE(second, first);
    EXPECT_EQ(GetSystem()->mColorCursor.get(), second);
    SDL_ClearError();
    SDL_SetCursor(first);  // compares against SDL's list only: a freed cursor is refused
    EXPECT_STREQ(SDL_GetError(), "Cursor not associated with the current mouse");
    EXPECT_EQ(SDL_GetCursor(), second);
    GetSystem()->mColorCursor.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
