// Objects that keep a scene's time and mood: a timer that clicks itself, a sequence that
// shows its children in turn, an activation counter, sounds after delays or with the scene,
// a one-shot alpha pulse and a flickering light.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/messages.h"
#include "graphics/tweens.h"
#include "objects/object.h"

class TTimerObject : public TObject {
public:
    ~TTimerObject() override;
    bool Update(float dt) override;
    void LoadResources() override {}
    void FreeResources() override {}
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void ResetBehaviour() override;

    float mTime = 0.0f;
    float mElapsed = 0.0f;
    int32_t mActivationCount = 0;
    int32_t mMaxActive = 1;
};

class TShowSequenceObject : public TObject {
public:
    ~TShowSequenceObject() override;
    bool Update(float dt) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnLoaded() override;
    void ActivateSimple() override;

    void StartSequence();
    // Only the child at the index stays visible; an index outside the children hides them all.
    void ShowChildAt(int32_t index);

    float mShowTime = 1.0f;
    float mDelayTime = 0.5f;
    IncValue mPhaseTimer;
    int32_t mPhase = 0;  // 0 idle, 1 showing, 2 gap
    int32_t mShownIndex = -1;
    int32_t mCount = 1;  // -1 endless
    int32_t mPassesDone = 0;
    bool mStartOnLoad = false;

private:
    void ShowOnly(int64_t index);
};

class TActivateCounter : public TObject {
public:
    ~TActivateCounter() override;
    int GetTypeCode() const override { return 48; }
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void Activate(int count, int x, int y) override;

    int32_t mRemaining = 1;
};

class TDelayLoopsSoundObject : public TObject, public TTimerListener {
public:
    TDelayLoopsSoundObject();
    ~TDelayLoopsSoundObject() override;
    bool Update(float dt) override;
    void Restart() override;
    int GetTypeCode() const override { return 62; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void Activate(int count, int x, int y) override;
    void OnTimerDone() override;

    std::vector<float> mDelays;
    size_t mNextDelay = 0;
    std::string mSoundName;
    TTimer mTimer;
    int32_t mLoop = 1;  // -1 endless
};

// Plays the sound named by its "id" while its scene is shown.
class TSoundObject : public TObject {
public:
    ~TSoundObject() override;
    int GetTypeCode() const override { return 54; }
    void OnSpaceShown() override;
    void OnSpaceHidden() override;
    void Unlock() override;
    void Lock() override;
};

class TBlendingObject : public TObject {
public:
    ~TBlendingObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 63; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnSpaceShown() override;
    void OnSpaceHidden() override;
    void Activate(int count, int x, int y) override;

    bool mOnShow = false;
    float mTime = 2.0f;
    PulseValue mPulse;
};

// Built for both "light_obj" and "fading_video"; only the type name tells them apart.
class TLightObject : public TObject {
public:
    ~TLightObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 58; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;

    // Aims the next swing at the far end of the range from the current alpha.
    void NextFlicker();

    float mSwing = 0.2f;
    float mMinAlpha = 0.0f;
    float mMaxAlpha = 1.0f;
    float mMinTime = 0.5f;
    float mMaxTime = 1.0f;
    float mAcceleration = 0.0f;
    float mStartSpeed = 0.0f;
    float mStartAlpha = 0.0f;
    float mCurrentAlpha = 0.0f;
    float mTargetAlpha = 0.0f;
    float mDuration = 0.0f;
    float mElapsedTime = 0.0f;
    bool mRunning = false;
};
