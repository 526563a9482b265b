#include "core/input.h"

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "core/text.h"
#include "log_watch.h"
#include "sdl_events.h"

namespace {

struct TExpected {
    int type, param, x, y, mods;
};

bool operator==(const TInputEvent& e, const TExpected& x)
{
    return e.mType == x.type && e.mParam == x.param && e.mX == x.x && e.mY == x.y && e.mMods == x.mods;
}

std::string Show(const TInputEvent& e)
{
    return FormatString("{%d,%d,%d,%d,%d}", e.mType, e.mParam, e.mX, e.mY, e.mMods);
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSaved = std::move(GetAppState());
        GetAppState().mLastKeyModifiers = 0;
    }
    void TearDown() override
    {
        SetInputHost(nullptr);
        GetAppState() = std::move(mSaved);
    }
    TAppState mSaved;
};

}  // namespace

TEST_F(InputTest, SdlEventsBecomeInputEvents)
{
    struct Case {
        const char* what;
        SDL_Event sdl;
        std::vector<TExpected> expected;
    };
    const Case cases[] = {
        {"close", WindowEvent(SDL_WINDOWEVENT_CLOSE), {{0, 0, 0, 0, 0}}},
        {"left alt F4", Key(SDL_KEYDOWN, SDLK_F4, KMOD_LALT), {{0, SDLK_F4, 0, 0, KMOD_LALT}}},
        {"right alt F4", Key(SDL_KEYDOWN, SDLK_F4, KMOD_RALT), {{0, SDLK_F4, 0, 0, KMOD_RALT}}},
        {"F4", Key(SDL_KEYDOWN, SDLK_F4, 0), {{9, SDLK_F4, 0, 0, 0}}},
        {"left down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1), {{1, 1, 30, 40, 0}}},
        {"left up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1), {{5, 1, 30, 40, 0}}},
        {"left double", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2), {{3, 1, 30, 40, 0}}},
        {"left triple", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 3), {{5, 1, 30, 40, 0}}},
        {"right down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1), {{2, 1, 30, 40, 0}}},
        {"right up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1), {{2, 0, 30, 40, 0}}},
        {"right double", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 2), {{2, 0, 30, 40, 0}}},
        {"middle down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1), {}},
        {"middle double", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 2), {}},
        {"wheel up", Wheel(0, 1), {{4, 1, 0, 0, 0}}},
        {"wheel down", Wheel(0, -1), {{4, -1, 0, 0, 0}}},
        {"wheel sideways", Wheel(1, 0), {{4, -1, 0, 0, 0}}},
        {"drag left", Motion(SDL_BUTTON_LMASK), {{6, 1, 5, 6, 0}}},
        {"drag right", Motion(SDL_BUTTON_RMASK), {{6, 2, 5, 6, 0}}},
        {"drag both", Motion(SDL_BUTTON_LMASK | SDL_BUTTON_RMASK), {{6, 0, 5, 6, 0}}},
        {"leave", WindowEvent(SDL_WINDOWEVENT_LEAVE), {{7, 0, 0, 0, 0}}},
        {"text a", Text("a"), {{11, 97, 0, 0, 0}}},
        {"text e acute", Text("\xC3\xA9"), {{11, 0xE9, 0, 0, 0}}},
        {"text zhe", Text("\xD0\x96"), {{11, 0x416, 0, 0, 0}}},
        {"text ab", Text("ab"), {{11, 'a', 0, 0, 0}, {11, 'b', 0, 0, 0}}},
        {"text control", Text("\x01"), {}},
        {"text beyond the basic plane", Text("\xF0\x9F\x98\x80"), {}},
        {"focus gained", WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), {{14, 1, 0, 0, 0}}},
        {"focus lost", WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), {{14, 0, 0, 0, 0}}},
        {"moved", WindowEvent(SDL_WINDOWEVENT_MOVED, 3, 4), {}},
    };
    for (const Case& c : cases) {
        std::vector<TInputEvent> out = Translate(c.sdl);
        ASSERT_EQ(out.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < out.size(); ++i) EXPECT_TRUE(out[i] == c.expected[i]) << c.what << " " << Show(out[i]);
        // Alt+F4 stores no modifiers for the pointer events after it (checked at once: the
        // next key row stores its own).
        if (c.sdl.type == SDL_KEYDOWN && (c.sdl.key.keysym.mod & KMOD_ALT)) {
            EXPECT_EQ(GetAppState().mLastKeyModifiers, 0) << c.what;
        }
    }
}

TEST_F(InputTest, KeyModifiersLastUntilTheKeyIsReleased)
{
    Translate(Key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT | KMOD_NUM));
    std::vector<TInputEvent> down = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1));
    EXPECT_EQ(down.at(0).mMods, KMOD_LSHIFT | KMOD_NUM);
    std::vector<TInputEvent> up = Translate(Key(SDL_KEYUP, SDLK_LSHIFT, 0));
    EXPECT_TRUE(up.at(0) == (TExpected{10, SDLK_LSHIFT, 0, 0, KMOD_LSHIFT | KMOD_NUM})) << Show(up.at(0));
    EXPECT_EQ(Translate(Motion(0)).at(0).mMods, 0);
}

// The floors above answer through the host: the settings' fullscreen choice and the window
// manager's textures.
TEST_F(InputTest, WindowEventsAskTheHost)
{
    struct THost : TInputHost {
        bool IsFullscreenChosen() const override { return mFullscreen; }
        void ReloadTextures() override { ++mReloads; }
        bool mFullscreen = false;
        int mReloads = 0;
    } host;
    SDL_Event reset;
    SDL_zero(reset);
    reset.type = SDL_RENDER_TARGETS_RESET;
    TLogWatch log;

    // Without a host the game counts as fullscreen and a resize is left alone.
    Translate(WindowEvent(SDL_WINDOWEVENT_RESIZED, 700, 500));
    EXPECT_EQ(log.Text().find("moved to"), std::string::npos) << log.Text();
    Translate(reset);

    SetInputHost(&host);
    Translate(WindowEvent(SDL_WINDOWEVENT_RESIZED, 700, 500));
    EXPECT_TRUE(log.Has("Window 1 moved to 700,500")) << log.Text();
    GetAppState().mActive = true;
    Translate(reset);
    EXPECT_EQ(host.mReloads, 1);
    GetAppState().mActive = false;
    Translate(reset);
    EXPECT_EQ(host.mReloads, 1);
}
