// Whole-program tests that start the game's real start-up in a fresh player folder and play
// it with real SDL events: a clock that moves 16 ms a frame, clicks at design points, frames
// read back from the renderer; afterwards what the shutdown closed for good comes back.
#pragma once
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <string>

#include "app/app.h"
#include "app/task.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/system.h"
#include "game/board.h"
#include "sdl_events.h"
#include "sound/sound_manager.h"
#include "test_support.h"
#include "ui/window.h"

inline uint32_t& ProgramNow()
{
    static uint32_t now = 1000;
    return now;
}
inline uint32_t ProgramTicks() { return ProgramNow(); }

class TProgramRunTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (mStarted) ReleaseGame();
        Restore();
    }
    bool Start()
    {
        SetTickSource(ProgramTicks);
        DestroyLogger();  // reopened in this player's folder by the start-up
        mStarted = StartGame();
        return mStarted;
    }
    // The game's window and renderer go as the program's quit takes them (the release leaves
    // them), so no later case of the process finds a renderer whose window SDL has closed.
    void Restore()
    {
        mStarted = false;
        SetTickSource(nullptr);
        DestroyRenderer();
        if (SDL_Window* window = GetAppState().mWindow) SDL_DestroyWindow(window);
        GetAppState().mWindow = nullptr;
        ReopenWhatTheShutdownClosed();
    }

    void Frame()
    {
        ProgramNow() += 16;
        RunFrame();
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i) Frame();
    }

    // Design point to the window's pixels.
    static void ToWindow(int x, int y, int* wx, int* wy)
    {
        const TAppState& app = GetAppState();
        *wx = static_cast<int>((x + app.mOffsetX) * app.mScaleX + 0.5f);
        *wy = static_cast<int>((y + app.mOffsetY) * app.mScaleY + 0.5f);
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }

    void MoveTo(int x, int y, Uint32 state = 0)
    {
        int wx = 0, wy = 0;
        ToWindow(x, y, &wx, &wy);
        Push(Motion(state, wx, wy));
        Frame();
    }
    void Click(int x, int y, int clicks = 1)
    {
        int wx = 0, wy = 0;
        ToWindow(x, y, &wx, &wy);
        MoveTo(x, y);
        Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, static_cast<Uint8>(clicks), wx, wy));
        Frame();
        Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, static_cast<Uint8>(clicks), wx, wy));
        Frame();
    }
    // A click at the middle of a window's child.
    void ClickChild(TMyWindow* window, const char* name)
    {
        TMyWindow* child = window->FindChild(name);
        ASSERT_NE(child, nullptr) << name;
        ClickWidget(child);
    }
    void ClickWidget(TMyWindow* widget)
    {
        int ax = 0, ay = 0;
        widget->GetAbsolutePosition(&ax, &ay);
        Click(ax + widget->GetWidth() / 2, ay + widget->GetHeight() / 2);
    }

    // The frame as drawn now, in the window's pixels.
    SDL_Surface* ReadFrame()
    {
        SDL_Renderer* renderer = GetRenderer();
        int w = 0, h = 0;
        SDL_GetRendererOutputSize(renderer, &w, &h);
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        SDL_RenderClear(renderer);
        RenderGame();
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, s->pixels, s->pitch);
        return s;
    }
    SDL_Color ScreenPixel(int x, int y)
    {
        SDL_Renderer* renderer = GetRenderer();
        SDL_RenderClear(renderer);
        RenderGame();
        uint32_t pixel = 0;
        SDL_Rect r{0, 0, 1, 1};
        ToWindow(x, y, &r.x, &r.y);
        SDL_RenderReadPixels(renderer, &r, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        return SDL_Color{static_cast<Uint8>(pixel >> 16), static_cast<Uint8>(pixel >> 8), static_cast<Uint8>(pixel), 255};
    }
    // The frame saved under the build folder, to look at.
    void Shot(const char* name)
    {
        SDL_Surface* s = ReadFrame();
        IMG_SavePNG(s, (std::string(BRISALO_BUILD_DIR) + "/" + name).c_str());
        SDL_FreeSurface(s);
    }

    TBoardMahjong* Board() { return GetBoard(); }
    // The design point at the middle of a cell of the board's picture.
    void CellPoint(int column, int row, int* x, int* y)
    {
        const TPaintByNumber& p = Board()->mPicture;
        *x = p.mOriginX + static_cast<int>((column * 26 + 13) * p.mZoom);
        *y = p.mOriginY + static_cast<int>((row * 26 + 13) * p.mZoom);
    }
    void SelectSwatch(int number)
    {
        const TColorsTableItem& swatch = Board()->mColorTable.mItems[static_cast<size_t>(number)];
        Click(static_cast<int>(swatch.mX) + swatch.GetWidth() / 2,
              static_cast<int>(swatch.mY + Board()->mColorTable.mOffsetY) + swatch.GetHeight() / 2);
    }

    TUserFolderScope mUser;
    bool mStarted = false;
};
