// Dialogs over a software canvas: the shipped layouts, textures and texts beside the test
// layouts of tests/data/ui (as "fixtures/..."), a recording sound sink and profile, cursors,
// and real SDL events through the frame loop with a clock that stands still.
#pragma once
#include <SDL.h>

#include <set>
#include <string>
#include <utility>

#include "app/app.h"
#include "app/task.h"
#include "core/display.h"
#include "core/localization.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "log_watch.h"
#include "sdl_events.h"
#include "ui/cursors.h"
#include "ui/fly_spies.h"
#include "ui/ui_info_holder.h"
#include "ui/window_manager.h"

struct TSoundRecorder : TSoundSink {
    TLog* mLog;
    explicit TSoundRecorder(TLog* log) : mLog(log) {}
    void PlayByName(const std::string& name) override { mLog->push_back("sound " + name); }
};

struct TProfilePairs : TTutorialProfile {
    std::set<std::pair<std::string, std::string>> mPairs;
    bool HasPair(const std::string& key, const std::string& value) const override
    {
        return mPairs.count({key, value}) > 0;
    }
    void AddPair(const std::string& key, const std::string& value) override { mPairs.insert({key, value}); }
};

inline uint32_t& DialogNow()
{
    static uint32_t now = 0;
    return now;
}
inline uint32_t DialogTicks() { return DialogNow(); }

class DialogTest : public CanvasTest {
protected:
    static constexpr float kStep = 0.125f;

    void SetUp() override
    {
        CanvasTest::SetUp();
        const std::string assets = mDir.Path() + "/assets/";
        for (const char* name : {"ui", "textures", "termins.xml"})
            ASSERT_EQ(0, symlink((std::string(BRISALO_ASSETS) + "/" + name).c_str(), (assets + name).c_str()));
        ASSERT_EQ(0, symlink((std::string(BRISALO_TEST_DATA) + "/ui").c_str(), (assets + "fixtures").c_str()));
        MakeFolder("fix");
        SolidPng("fix/img400.png", 400, 300, SDL_Color{200, 40, 40, 255});
        SolidPng("fix/btn.png", 80, 120, SDL_Color{40, 200, 40, 255});  // three looks of 80 x 40
        WriteWholeFile(AssetPath("cursors.xml"), "<cursorset><cursors><cursor name=\"default\"/><cursor name=\"hand\"/>"
                                                 "<cursor name=\"active\"/></cursors></cursorset>");
        LoadCursors("cursors.xml");
        GetLocalization()->Load("termins.xml");
        // The global holder lives as long as the process: read each file into it once.
        TUIInfoHolder* global = GetInterfaceHolder();
        if (!global->FindStyle("btnsmall")) LoadGlobal("ui/interface.xml");
        if (!global->Find("TipFixPlain")) LoadGlobal("fixtures/tips.xml");
        SetSoundSink(&mSounds);
        SetTutorialProfile(&mProfile);

        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        SetTickSource(DialogTicks);
        DialogNow() = 5000;  // stands still: frames deliver events, tests step the updates
        TAppState& app = GetAppState();
        app.mQuit = false;
        app.mActive = true;
        app.mLastFrameTicks = DialogNow();
        app.mApp.reset(new TGameApp());
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        mManager = GetWindowManager();
    }
    void TearDown() override
    {
        TAppState& app = GetAppState();
        DestroyWindowManager();
        DestroyTutorialWindow();
        DestroyCursors();
        SetSoundSink(nullptr);
        SetTutorialProfile(nullptr);
        app.mApp.reset();
        app.mQuit = false;
        SetTickSource(nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        CanvasTest::TearDown();
    }
    static void LoadGlobal(const char* path)
    {
        if (TiXmlElement* root = LoadXmlDocument(path)) GetInterfaceHolder()->Load(root);
        DeleteCurrentXmlDocument();
    }

    void Updates(int n)
    {
        for (int i = 0; i < n; ++i) mManager->Update(kStep);
    }
    // The log since the last call, without the buttons' own enter and press sounds.
    TLog Take()
    {
        TLog taken;
        for (const std::string& line : mLog)
            if (line.compare(0, 9, "sound btn") != 0) taken.push_back(line);
        mLog.clear();
        return taken;
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    // A move to the point, then a press and a release there, in one frame.
    void Click(int x, int y)
    {
        Push(Motion(0, x, y));
        Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, x, y));
        Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, x, y));
        RunFrame();
    }
    void MoveTo(int x, int y)
    {
        Push(Motion(0, x, y));
        RunFrame();
    }

    TLog mLog;
    TSoundRecorder mSounds{&mLog};
    TProfilePairs mProfile;
    TFlySpy mFly{&mLog};
    TMyWindowManager* mManager = nullptr;
};
