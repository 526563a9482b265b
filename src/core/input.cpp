#include "core/input.h"

#include <cmath>
#include <cstring>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"

namespace {

TInputHost* gInputHost = nullptr;

// Without settings the game counts as fullscreen.
bool SettingsAreFullscreen() { return !gInputHost || gInputHost->IsFullscreenChosen(); }

void HandleWindowEvent(const SDL_WindowEvent& window)
{
    TAppState& app = GetAppState();
    TLogger* log = GetLogger();
    switch (window.event) {
    case SDL_WINDOWEVENT_EXPOSED:
        if (app.mMinimized && !SettingsAreFullscreen() && !(app.mRenderDevice && app.mRenderDevice->mDirect3D)) {
            if (app.mWindow) {
                SDL_RestoreWindow(app.mWindow);
                SDL_MaximizeWindow(app.mWindow);
            }
            app.mMinimized = false;
            log->LogMessage("SDL_RestoreWindow");
            log->LogMessage("Window %d exposed", static_cast<int>(window.windowID));
        }
        break;
    case SDL_WINDOWEVENT_RESIZED:
        // The window keeps the size the game chose; a manual resize is undone.
        if (!SettingsAreFullscreen()) {
            log->LogMessage("Window %d moved to %d,%d", static_cast<int>(window.windowID), window.data1, window.data2);
            if (app.mWindow) SDL_SetWindowSize(app.mWindow, app.mWindowedResolutionWidth, app.mWindowedResolutionHeight);
            const char* error = SDL_GetError();
            log->LogMessage("ERROR: %s", error ? error : "");
            if (app.mWindow) SDL_SetWindowPosition(app.mWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        app.mMinimized = true;
        break;
    case SDL_WINDOWEVENT_RESTORED:
        log->LogMessage("SDL_WINDOWEVENT_RESTORED");
        break;
    default:
        break;
    }
}

TInputEvent MakeEvent(int32_t type, int32_t param, int32_t x, int32_t y, int32_t mods)
{
    TInputEvent event;
    event.mType = type;
    event.mParam = param;
    event.mX = x;
    event.mY = y;
    event.mMods = mods;
    return event;
}

// trunc(value * (1 / scale) - offset) in floats, kept inside the int range.
int32_t ToDesign(int32_t value, float scale, int32_t offset)
{
    float mapped = static_cast<float>(value) * (1.0f / scale) - static_cast<float>(offset);
    if (!std::isfinite(mapped)) return 0;
    return TruncToInt(mapped);
}

}  // namespace

void SetInputHost(TInputHost* host) { gInputHost = host; }

bool TranslateSdlEvent(const SDL_Event& sdl, std::vector<TInputEvent>* out)
{
    TAppState& app = GetAppState();
    TLogger* log = GetLogger();
    const size_t before = out->size();
    const int32_t mods = app.mLastKeyModifiers;
    switch (sdl.type) {
    case SDL_WINDOWEVENT:
        switch (sdl.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            out->push_back(MakeEvent(kInputQuit, 0, 0, 0, 0));
            break;
        case SDL_WINDOWEVENT_LEAVE:
            out->push_back(MakeEvent(kInputLeave, 0, 0, 0, 0));
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            out->push_back(MakeEvent(kInputFocus, 1, 0, 0, 0));
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            out->push_back(MakeEvent(kInputFocus, 0, 0, 0, 0));
            break;
        default:
            HandleWindowEvent(sdl.window);
            break;
        }
        break;
    case SDL_KEYDOWN:
        if (sdl.key.keysym.sym == SDLK_F4 && (sdl.key.keysym.mod & KMOD_ALT)) {
            out->push_back(MakeEvent(kInputQuit, sdl.key.keysym.sym, 0, 0, sdl.key.keysym.mod));
        } else {
            app.mLastKeyModifiers = sdl.key.keysym.mod;
            out->push_back(MakeEvent(kInputKeyDown, sdl.key.keysym.sym, 0, 0, sdl.key.keysym.mod));
        }
        break;
    case SDL_KEYUP:
        out->push_back(MakeEvent(kInputKeyUp, sdl.key.keysym.sym, 0, 0, mods));
        app.mLastKeyModifiers = 0;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (sdl.button.button == SDL_BUTTON_LEFT)
            out->push_back(MakeEvent(kInputLeftDown, 1, sdl.button.x, sdl.button.y, mods));
        else if (sdl.button.button == SDL_BUTTON_RIGHT)
            out->push_back(MakeEvent(kInputRightButton, 1, sdl.button.x, sdl.button.y, mods));
        break;
    case SDL_MOUSEBUTTONUP:
        // Only the left button double-clicks: a right release always ends the right drag,
        // whatever its click count, or the window manager would keep the right capture.
        if (sdl.button.button == SDL_BUTTON_LEFT)
            out->push_back(MakeEvent(sdl.button.clicks == 2 ? kInputDoubleClick : kInputLeftUp, 1, sdl.button.x,
                                     sdl.button.y, mods));
        else if (sdl.button.button == SDL_BUTTON_RIGHT)
            out->push_back(MakeEvent(kInputRightButton, 0, sdl.button.x, sdl.button.y, mods));
        break;
    case SDL_MOUSEWHEEL:
        out->push_back(MakeEvent(kInputWheel, sdl.wheel.y > 0 ? 1 : -1, 0, 0, mods));
        break;
    case SDL_MOUSEMOTION: {
        int32_t held = sdl.motion.state == SDL_BUTTON_LMASK ? 1 : sdl.motion.state == SDL_BUTTON_RMASK ? 2 : 0;
        out->push_back(MakeEvent(kInputMove, held, sdl.motion.x, sdl.motion.y, mods));
        break;
    }
    case SDL_TEXTINPUT: {
        // One event per character, so names can hold more than ASCII.
        size_t length = strnlen(sdl.text.text, sizeof(sdl.text.text));
        for (wchar_t c : ToWide(std::string(sdl.text.text, length)))
            if (c >= 32 && c <= 0xFFFF) out->push_back(MakeEvent(kInputText, c, 0, 0, 0));
        break;
    }
    case SDL_RENDER_TARGETS_RESET:
        log->LogMessage("SDL_RENDER_TARGETS_RESET");
        if (app.mRenderDevice) ++app.mRenderDevice->mResets;
        if (app.mActive && gInputHost) gInputHost->ReloadTextures();
        break;
    case SDL_RENDER_DEVICE_RESET:
        log->LogMessage("SDL_RENDER_DEVICE_RESET");
        if (app.mRenderDevice) ++app.mRenderDevice->mResets;
        break;
    default:
        break;
    }
    return out->size() > before;
}

void MapToDesign(TInputEvent* event)
{
    const TAppState& app = GetAppState();
    event->mX = ToDesign(event->mX, app.mScaleX, app.mOffsetX);
    event->mY = ToDesign(event->mY, app.mScaleY, app.mOffsetY);
}
