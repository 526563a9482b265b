// Movie objects: a movie played in the scene, the ghost the lens finds, and a wrapper that
// reacts when a movie has played to its end.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/texture.h"
#include "graphics/trajectories.h"
#include "graphics/tweens.h"
#include "objects/lens_target.h"
#include "objects/object.h"
#include "sound/video_window.h"

// A movie object's listener; both notifications are empty unless a kind answers them.
class TVideoObjectListener {
public:
    virtual ~TVideoObjectListener() = default;
    virtual void OnPlaybackFinished() {}
    virtual void OnVideoFinished(int /*loopsDone*/) {}
};

// One entry of a timed list: a name posted once the movie's clock reaches its time.
struct TVideoTimedEntry {
    std::string mName;
    float mTime = 0.0f;
};

// Plays a movie file (its image path) into a streaming texture: pass after pass up to its
// loop count, with timed sound and monologue events, interface events at the start and the
// end, and an optional replay after a pause.
class TVideoObject : public TObject, public TVideoWindowDataListener {
public:
    TVideoObject();
    ~TVideoObject() override;

    int GetTypeCode() const override { return 10; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void LoadResources() override;
    void FreeResources() override;
    bool Update(float dt) override;
    void Draw(float alphaFactor) override;
    void Activate(int count, int x, int y) override;
    bool HitTestSelf(int x, int y) override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;
    void OnLoopCompleted(int loopsDone) override;

    void StartMovie(const std::string& path, bool stretch, int32_t loop, bool withAlpha);
    void ShowFirstFrame();
    void FinishPlayback();
    void DrawMovieFrame();
    // Finished, with nothing drawn until the next uploaded frame.
    void MarkFinishedWithoutFrame();

    TVideoWindow* GetDecoder() const { return mDecoder.get(); }
    const TexturePtr& GetMovieTexture() const { return mTexture; }
    // The width of one frame: the picture's, halved when the alpha sits beside the colour.
    int GetFrameWidth() const;

    std::unique_ptr<TVideoWindow> mDecoder;
    bool mReservedFlag = false;
    float mClock = 0.0f;
    float mFrameAccumulator = 0.0f;
    int32_t mActivations = 0;
    int32_t mMaxActivations = 1;  // -1: no limit
    bool mStretch = false;
    bool mFinished = true;
    TexturePtr mTexture;
    float mFpsOverride = 0.0f;
    float mFrameTime = 0.0f;
    int32_t mLoop = 1;  // -1: endless
    bool mWithAlpha = false;
    float mRepeatTime = 0.0f;
    float mRepeatSpread = 0.0f;
    IncValue mRepeatTimer;
    bool mPlayed = false;
    bool mFirstFrameOnLoad = true;
    bool mHideInterface = false;
    bool mRestoreInterface = true;
    bool mLockLocation = false;
    bool mUnlockLocation = true;
    TVideoObjectListener* mMovieListener = nullptr;  // not owned
    bool mCheckCoords = false;
    bool mLoadIfPlayed = true;
    int32_t mMonologIndex = 0;
    std::vector<TVideoTimedEntry> mMonologs;
    int32_t mSoundIndex = 0;
    std::vector<TVideoTimedEntry> mSounds;
    bool mShowFrame = false;
    bool mHideFrame = true;

protected:
    // The movie update without the base object's; the ghost moves first.
    void UpdateMovie(float dt);

private:
    void UploadCurrentFrame();
    void PostTimedEntry(std::vector<TVideoTimedEntry>& list, int32_t& index, const char* event);
    void AdvanceRepeatTimer(float dt);
};

// Seen only through the ghost catcher's lens: the room sets the lens each frame the lens lies
// over it and clears it otherwise. It flees from the catcher and is caught by a press with it.
class TGhostObject : public TVideoObject, public TLensTarget {
public:
    TGhostObject();
    ~TGhostObject() override;

    int GetTypeCode() const override { return 22; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void LoadResources() override;
    bool Update(float dt) override;
    void Draw(float alphaFactor) override;
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;

    void SetLens(int32_t offsetX, int32_t offsetY, const TexturePtr& lens) override;
    void ClearLens() override;
    TIntPoint PickFleePoint() const;

    bool IsCaught() const { return mCaught; }
    bool IsFleeing() const { return mFlee.mActive; }

    bool mCaught = false;
    TLineMover mFlee;
    int32_t mHomeX = 0;
    int32_t mHomeY = 0;
    int32_t mReservedWord = 0;

private:
    bool CarriesCatcher(const TSceneMouseEvent& event) const;
};

// Runs its event reactions once, when the movie that is its first child reaches the end of its
// data after the wrapper was activated.
class TFinishVideoWrapperObject : public TObject, public TVideoObjectListener {
public:
    ~TFinishVideoWrapperObject() override;

    int GetTypeCode() const override { return 78; }
    void OnLoaded() override;
    bool Update(float dt) override;
    void Activate(int count, int x, int y) override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;
    void OnVideoFinished(int loopsDone) override;

    bool mArmed = false;
    bool mPending = false;
};
