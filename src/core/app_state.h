// The engine's process-wide state: window, renderer, frame clock, flags, scaling, sizes,
// the current XML document and the singletons that the shutdown frees in order.
#pragma once
#include <SDL.h>
#include <cstdint>
#include <memory>

class TiXmlDocument;
class TGameApp;
class TSettings;
class TBoardMahjong;
class TOverColors;
class TMyWindowManager;
class TGameCursors;
class TObjectFactory;
class TRoomFactory;
class TEffectorsFactory;
class TSpacesRegistry;
class TInventoryPanel;
class TTipPanel;
class TPocketFactory;
class ToolFactory;
class ItemsListItemFactory;
class TCollectionsCatalog;
class TFrameObject;
class TToolsList;

// The renderer record: the one SDL renderer of the window.
struct TRenderDevice {
    SDL_Renderer* mRenderer = nullptr;
    bool mDirect3D = false;  // textures die with a lost device only under that driver
    int32_t mOriginX = 0;  // where SetRenderOrigin moved the drawing
    int32_t mOriginY = 0;
    // Counts the renderer's losses of what its target textures (or, with the device, every
    // texture) held; what keeps pixels in such textures draws them anew when it changes.
    uint32_t mResets = 0;
    // Components 0-1; the renderer's own draw colour is restored afterwards.
    void FillRect(const SDL_Rect& rect, float r, float g, float b, float a) const;
};

// The owners below hold classes of higher floors, which this floor only names. Each floor
// defines DeleteOwned for its own classes beside their code, so deleting one here runs its
// real destructor without this header including theirs.
void DeleteOwned(TiXmlDocument* document);
void DeleteOwned(TGameApp* app);
void DeleteOwned(TSettings* settings);
void DeleteOwned(TBoardMahjong* board);
void DeleteOwned(TOverColors* colors);
void DeleteOwned(TMyWindowManager* windows);
void DeleteOwned(TObjectFactory* factory);
void DeleteOwned(TRoomFactory* factory);
void DeleteOwned(TEffectorsFactory* factory);

struct TOwnedDelete {
    template <class T>
    void operator()(T* owned) const { DeleteOwned(owned); }
};
template <class T>
using TOwned = std::unique_ptr<T, TOwnedDelete>;

struct TAppState {
    SDL_Window* mWindow = nullptr;
    std::unique_ptr<TRenderDevice> mRenderDevice;
    TOwned<TGameApp> mApp;

    uint32_t mLastFrameTicks = 0;
    bool mQuit = false;
    bool mActive = true;
    bool mMinimized = false;
    uint16_t mLastKeyModifiers = 0;

    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    int32_t mOffsetX = 0;
    int32_t mOffsetY = 0;

    int32_t mBaseWidth = 1366;
    int32_t mBaseHeight = 768;
    int32_t mRealResolutionWidth = 1366;
    int32_t mRealResolutionHeight = 768;
    int32_t mWindowedResolutionWidth = 0;
    int32_t mWindowedResolutionHeight = 0;
    int32_t mWidthBeforeStart = 0;
    int32_t mHeightBeforeStart = 0;
    int32_t mLargestModeWidth = 1366;
    int32_t mLargestModeHeight = 768;
    bool mPortrait = false;

    TOwned<TiXmlDocument> mXmlDocument;

    TOwned<TSettings> mSettings;
    TOwned<TBoardMahjong> mBoard;
    TOwned<TOverColors> mOverColors;
    TOwned<TMyWindowManager> mWindowManager;
    TOwned<TObjectFactory> mObjectFactory;
    TOwned<TRoomFactory> mRoomFactory;
    TOwned<TEffectorsFactory> mEffectorsFactory;

    // Services of the scene that this game never creates: every user tests for presence
    // and takes its "none" path. Not owned.
    TSpacesRegistry* mSpacesRegistry = nullptr;
    TInventoryPanel* mInventoryPanel = nullptr;
    TTipPanel* mTipPanel = nullptr;
    TPocketFactory* mPocketFactory = nullptr;
    ToolFactory* mToolFactory = nullptr;
    ItemsListItemFactory* mItemsListItemFactory = nullptr;
    TCollectionsCatalog* mCollectionsCatalog = nullptr;
    TFrameObject* mFrameObject = nullptr;
    TToolsList* mPlayerTools = nullptr;  // the tools the player holds
    // The player's highlight option (outlines on what can be used) and whether rooms turn
    // it on as they show. This game offers neither.
    bool mHighlightOption = false;
    bool mHighlightOnShow = false;
};

TAppState& GetAppState();
SDL_Renderer* GetRenderer();
// Back to a fresh state (tests that run the loader more than once).
void ResetAppState();
