// SDL events as the platform sends them, for the tests of their translation and dispatch.
#pragma once
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/input.h"

inline SDL_Event WindowEvent(Uint8 which, int data1 = 0, int data2 = 0, Uint32 windowId = 1)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    e.window.windowID = windowId;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
}

inline SDL_Event Key(Uint32 type, SDL_Keycode sym, Uint16 mod)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

inline SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks, int x = 30, int y = 40)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.button.button = button;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
}

inline SDL_Event Wheel(int x, int y)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.x = x;
    e.wheel.y = y;
    return e;
}

inline SDL_Event Motion(Uint32 state, int x = 5, int y = 6)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_MOUSEMOTION;
    e.motion.state = state;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

inline SDL_Event Text(const char* text)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_TEXTINPUT;
    strncpy(e.text.text, text, sizeof(e.text.text) - 1);
    return e;
}

inline std::vector<TInputEvent> Translate(const SDL_Event& e)
{
    std::vector<TInputEvent> out;
    bool made = TranslateSdlEvent(e, &out);
    EXPECT_EQ(made, !out.empty());
    return out;
}
