// Scene objects animated frame by frame: frame sheets, the double-score counter, animations
// and line-moving animations, and the trajectory sprite as a scene object.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/SharedPtr.h"
#include "graphics/cadr_image.h"
#include "graphics/trajectories.h"
#include "graphics/trajectory_sprite.h"
#include "graphics/tweens.h"
#include "objects/object.h"

// Plays a frame sheet while active; frame effectors set its sheet up when they are bound to it.
class TCadrObject : public TObject {
public:
    TCadrObject();
    ~TCadrObject() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    void SetPosition(float x, float y, bool moveChildren) override;
    int GetTypeCode() const override { return 18; }
    void LoadResources() override;
    void FreeResources() override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void OnSpaceFirstShown() override;
    void Activate(int count, int x, int y) override;
    void Deactivate(int count, int x, int y) override;

    SharedPtr<TCadrImage> mCadrImage;  // null until the element is read
    std::string mSoundName;             // played while active
    int32_t mLoops = 1;                 // loops per activation; -1 endless
};

// A frame sheet that counts down while it plays, ticking like a clock.
class TDoubleHOCadrObject : public TCadrObject {
public:
    ~TDoubleHOCadrObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 69; }
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void Activate(int count, int x, int y) override;
    void Deactivate(int count, int x, int y) override;
    bool IsActive() const override { return mRemaining > 0.0f; }

    float mRemaining = 0.0f;  // seconds
    float mCountdown = 0.0f;  // seconds
};

// One straight move of an animation, with the pause before it.
struct TAnimMove {
    float mPause = 0.0f;
    float mSpread = 0.0f;
    int32_t mStartX = 0;
    int32_t mStartY = 0;
    int32_t mEndX = 0;
    int32_t mEndY = 0;
    float mDuration = 0.0f;
    bool mStopFrames = true;  // the frames rest while the pause runs
};

// A frame animation whose sprite makes a list of moves, each after a random pause. This kind
// only waits; the line-moving kind travels.
class TAnimObject : public TObject {
public:
    ~TAnimObject() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    void SetVisible(bool visible) override;
    void Restart() override;
    int GetTypeCode() const override { return 11; }
    void LoadResources() override;
    void FreeResources() override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void Activate(int count, int x, int y) override;
    bool IsActive() const override { return mActive; }

    virtual void DrawAnimation();
    virtual void StopAnimation();
    virtual void LoadMoveData(TiXmlElement* element);
    virtual void OnLineMoveStep(int startX, int startY, int endX, int endY, float duration);
    virtual void StartMoves();
    virtual void NextMove();
    // Answers whether the move still runs.
    virtual bool AdvanceMove(float dt);

    TCadrImage mCadrImage;
    std::vector<TAnimMove> mMoves;
    int32_t mMoveIndex = 0;
    bool mPlaying = false;
    bool mMoving = false;
    bool mWaiting = false;
    IncValue mPauseTimer;

protected:
    void SaveMoveState(TBaseBuffer& buffer);
    // Takes nothing from a refused record; its bytes are read past all the same.
    void ReadMoveState(TBaseBuffer& buffer);
    // A restored record is made to agree with itself: a move index outside the moves starts
    // them over, the sprite shows as the object does and the frames run as the record says.
    void SettleRestoredState();
};

class TLineMovingAnimObject : public TAnimObject {
public:
    ~TLineMovingAnimObject() override;
    int GetTypeCode() const override { return 12; }
    void LoadState(TBaseBuffer& buffer) override;
    void SaveState(TBaseBuffer& buffer) override;
    bool IsMovable() const override { return true; }
    void OnLineMoveStep(int startX, int startY, int endX, int endY, float duration) override;
    bool AdvanceMove(float dt) override;

    TLineMover mLine;
};

// The trajectory sprite as a scene object. Its drawing and update are the sprite's; the
// scene reaches it through TObject only. It reads none of the object's keys.
class TrajectoryMoverCadrImage2Object : public TObject, public TrajectoryMoverCadrImage2 {
public:
    ~TrajectoryMoverCadrImage2Object() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
};
