#include "app/app.h"

#include <SDL.h>
#include <SDL_image.h>

#include "app/input_dispatch.h"
#include "app/settings.h"
#include "app/task.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/input.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/messages.h"
#include "core/system.h"
#include "core/text.h"
#include "core/virtual_files.h"
#include "core/xml_document.h"
#include "game/board.h"
#include "game/difficulty.h"
#include "game/front_screens.h"
#include "game/rewards.h"
#include "game/stages.h"
#include "game/tilesets.h"
#include "game/user_info.h"
#include "graphics/font_manager.h"
#include "graphics/resource_preloader.h"
#include "graphics/trajectories.h"
#include "objects/object_factory.h"
#include "rooms/game_event.h"
#include "rooms/room_factory.h"
#include "rooms/tool.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"
#include "ui/tutorial_window.h"
#include "ui/ui_info_holder.h"
#include "ui/window_manager.h"

namespace {

// After shutdown there is no manager: a late caller plays nothing rather than start a new one.
class TSoundManagerSink : public TSoundSink {
public:
    void PlayByName(const std::string& name) override
    {
        if (TSoundManager* sound = GetSoundManager()) sound->PlaySound(name);
    }
};

TSoundManagerSink gSoundManagerSink;

// The tutorial hint remembers its tips in the current player's profile.
class TUserInfoPairs : public TTutorialProfile {
public:
    bool HasPair(const std::string& key, const std::string& value) const override
    {
        return GetUserInfo()->HasPair(key, value);
    }
    void AddPair(const std::string& key, const std::string& value) override { GetUserInfo()->AddPair(key, value); }
};

TUserInfoPairs gUserInfoPairs;

// Loads one XML file, hands its root to the reader and drops the document again.
template <class Reader>
void LoadInto(const char* path, Reader read)
{
    if (TiXmlElement* root = LoadXmlDocument(path)) read(root);
    DeleteCurrentXmlDocument();
}

void ShowFirstScreen()
{
    TMyWindow* first;
    if (FileExists("branding/splash1.jpg") || FileExists("branding/splash1.png")) {
        GetLogger()->LogMessage("run logos window");
        first = new TLogosWindow();
    } else {
        GetLogger()->LogMessage("run mainmenu window");
        first = new TMainMenu();
    }
    GetWindowManager()->ShowScreen(first, false, 0);
}

}  // namespace

bool InitGame()
{
    TAppState& app = GetAppState();
    TLogger* log = GetLogger();
    log->LogMessage("int start");

    LoadInto("ui/interface.xml", [](TiXmlElement* root) { GetInterfaceHolder()->Load(root); });
    log->LogMessage("load ui/interface.xml complete");

    GetWindowManager()->AddFader(new TFaderShadow());

    LoadInto("settings.xml", [](TiXmlElement* root) { GetDifficultyRanges()->LoadXml(root); });
    LoadInto("settings.xml", [](TiXmlElement* root) { GetOverColors()->LoadXml(root); });
    log->LogMessage("load settings complete");

    InitMosaicStars();
    LoadStages();
    log->LogMessage("load stages complete");

    LoadInto("fonts.xml", [](TiXmlElement* root) { TFontManager::Instance()->Load(root); });
    log->LogMessage("load fonts complete");

    GetTrajectoryList().Load("trajectories.dat");

    if (!app.mObjectFactory) app.mObjectFactory.reset(new TObjectFactory());
    if (!app.mRoomFactory) app.mRoomFactory.reset(new TRoomFactory());
    if (!app.mEffectorsFactory) app.mEffectorsFactory.reset(new TEffectorsFactory());

    if (TSoundManager* sound = GetSoundManager()) sound->LoadSounds("sounds.xml");
    log->LogMessage("load sounds complete");

    TSettings* settings = app.mSettings.get();
    if (settings) settings->LoadSettings();
    log->LogMessage("load settings complete");
    if (settings) settings->LoadCurrentUser();
    log->LogMessage("load userinfo complete");
    if (settings) settings->Apply();
    log->LogMessage("InitGameToSettings complete");

    LoadCursors("cursors.xml");
    GetGameCursors()->SetCustomMode(settings && settings->UsesCustomCursor());

    TResourcePreloader::Create("resources.xml")->LoadAll();

    LoadRewards("rewards.xml");
    log->LogMessage("load rewards complete");

    LoadTilesets("tilesets/tilesets.xml");
    log->LogMessage("load tilesets complete");

    LayoutsInit(0);
    log->LogMessage("LayoutsInit complete");

    TRewardConnector& stats = GetRewardConnector();
    stats.mLevelScore = 0;
    stats.mPairsCounter = 0;
    stats.mLevelsCompleted = 0;
    stats.mSpareCounter = 0;

    log->LogMessage("int complete");
    ShowFirstScreen();
    return true;
}

void UpdateKeepAwake()
{
    TAppState& app = GetAppState();
    SetKeepAwake(app.mSettings && app.mSettings->IsFullscreen() && app.mActive);
}

void UpdateGame(float dt)
{
    TAppState& app = GetAppState();
    if (TSoundManager* sound = FindSoundManager()) sound->Update(dt);
    GetGameCursors()->Update(dt);
    if (TMyMessageManager* messages = FindMessageManager()) messages->Update(dt);
    if (app.mWindowManager && app.mApp) app.mApp->Tick(0);
    UpdateKeepAwake();
}

void RenderGame()
{
    TAppState& app = GetAppState();
    if (SDL_Renderer* renderer = GetRenderer()) SDL_RenderSetScale(renderer, app.mScaleX, app.mScaleY);
    if (app.mWindowManager) app.mWindowManager->Draw();
    TGameCursors* cursors = GetGameCursors();
    if (cursors->IsInside() && cursors->IsVisible() && cursors->HasCurrent()) cursors->DrawCurrent();
}

void RunFrame()
{
    TAppState& app = GetAppState();
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl)) {
        if (sdl.type == SDL_QUIT) app.mQuit = true;
        std::vector<TInputEvent> events;
        TranslateSdlEvent(sdl, &events);
        for (const TInputEvent& event : events) {
            if (!DispatchEvent(event)) {
                app.mQuit = true;
                return;
            }
        }
    }
    if (app.mQuit) return;

    uint32_t now = GetTicks();
    if (now != app.mLastFrameTicks) UpdateGame((now - app.mLastFrameTicks) / 1000.0f);
    app.mLastFrameTicks = now;

    SDL_Renderer* renderer = GetRenderer();
    if (renderer) SDL_RenderClear(renderer);
    RenderGame();
    if (renderer) SDL_RenderPresent(renderer);
    // The start-up measure: how long a player waits for the first screen.
    static bool firstFrameReported = false;
    if (!firstFrameReported && app.mWindowManager && app.mWindowManager->TopScreen()) {
        firstFrameReported = true;
        GetLogger()->LogMessage("first frame at %.3f ms on the monotonic clock", MonotonicMs());
    }
}

void ReleaseGame()
{
    TAppState& app = GetAppState();

    if (app.mSettings) {
        app.mSettings->SaveSettings();
        app.mSettings.reset();
    }
    // Windows point into fonts, textures, sounds and the board: they go before all of those.
    DestroyWindowManager();
    // Not auto-delete: the manager deletes the hint only while it is listed.
    DestroyTutorialWindow();
    DestroyMessageManager();

    if (TResourcePreloader* preloader = TResourcePreloader::Instance()) preloader->Clear();
    TResourcePreloader::Destroy();
    DestroyCursors();
    DestroyLocalization();
    SetLocalizationShutDown(true);
    DeleteRewards();
    app.mBoard.reset();

    app.mEffectorsFactory.reset();
    app.mObjectFactory.reset();
    app.mRoomFactory.reset();
    SetRoomFactoryShutDown(true);
    // Tools and their effects hold textures, which must go before the renderer does.
    GlobalToolsList().Clear();
    NamedEffectsRegistry().clear();

    DestroyDifficultyRanges();
    TOverColors::Destroy();
    TFontManager::Destroy();
    // Anything above may have posted again: delete that one too, and let no later call
    // build another.
    DestroyMessageManager();
    SetMessageManagerShutDown(true);

    SetKeepAwake(false);
    app.mApp.reset();

    // The level tables hold textures and stage sound lists: they go while the renderer and
    // the sound manager still exist.
    ReleaseTilesets();
    ReleaseLayoutDescriptors();
    ReleaseStages();

    // The windows are gone by now, so no room can post again.
    ClearGameEvents();
    ReleaseSoundManager();
    SetSoundSink(nullptr);
    SetInputHost(nullptr);
    SetTutorialProfile(nullptr);
    SetUserList(nullptr);

    SetSystemShutDown(true);
    DestroySystem();
    SetLoggerShutDown(true);
    DestroyLogger();
}

void QuitGame()
{
    ReleaseGame();
    TAppState& app = GetAppState();
    DestroyRenderer();
    if (app.mWindow) SDL_DestroyWindow(app.mWindow);
    app.mWindow = nullptr;
    IMG_Quit();
    SDL_Quit();
}

SDL_Window* CreateGameWindow(int width, int height)
{
    // SDL titles are UTF-8, whatever letters the name has.
    std::string title = ToUtf8(GetLocalization()->GetText("GameName"));
    return SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                            SDL_WINDOW_SHOWN | SDL_WINDOW_MAXIMIZED);
}

bool StartGame()
{
    TAppState& app = GetAppState();
    SetExeDirAsCurrent();

    // The user folders come first so that every log line, even one about a broken
    // "termins.xml" on a first run, reaches "log.txt".
    TSystem* sys = GetSystem();
    sys->mAppFolderName = "Brisalo5";
    sys->mCompanyFolderName = "Korvel Games";
    sys->MakeUserFolders();

    GetLocalization()->Load("termins.xml");

    SetSoundSink(&gSoundManagerSink);
    SetTutorialProfile(&gUserInfoPairs);
    SetUserList(GetSettingsUserList());
    SetInputHost(GetAppInputHost());

    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // A full-screen game that loses the focus stays on screen under its pause window, as on
    // the desktops it was made for; SDL would otherwise minimise it.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0) return false;
    SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "2");
    SDL_SetHint("SDL_FRAMEBUFFER_ACCELERATION", "1");
    IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);

    app.mApp.reset(new TGameApp());
    app.mActive = true;

    app.mBaseWidth = kDesignWidth;
    app.mBaseHeight = kDesignHeight;
    ChooseScreenResolution();
    CreateSettings("mysettings")->UpdateDisplay(false, false);
    GetLogger()->LogMessage("mRealResolutionWidth =  %d  mRealResolutionHeight = %d", app.mRealResolutionWidth,
                            app.mRealResolutionHeight);
    app.mScaleX = static_cast<float>(app.mRealResolutionWidth) / GetLayoutWidth();
    app.mScaleY = static_cast<float>(app.mRealResolutionHeight) / GetLayoutHeight();

    app.mWindow = CreateGameWindow(app.mRealResolutionWidth, app.mRealResolutionHeight);
    GetLogger()->LogMessage("create window mRealResolutionWidth =  %d  mRealResolutionHeight = %d", GetWindowWidth(),
                            GetWindowHeight());
    if (!app.mWindow) return false;

    RecreateRenderer();
    sys->mWindow = app.mWindow;

    if (!InitGame()) {
        DestroyRenderer();
        SDL_DestroyWindow(app.mWindow);
        app.mWindow = nullptr;
        IMG_Quit();
        SDL_Quit();
        app.mApp.reset();
        return false;
    }
    app.mLastFrameTicks = GetTicks();
    return true;
}

int RunGame()
{
    if (!StartGame()) return 1;
    TAppState& app = GetAppState();
    while (!app.mQuit) RunFrame();
    QuitGame();
    return 0;
}
