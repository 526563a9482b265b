// Sounds described in XML (id, file, plays, volume, delay) and the play lists that group
// them: sound lists play any of their sounds by id; music lists play one track at a time and
// fade the current one out before the next fades in. Main thread only.
#pragma once
#include <string>
#include <vector>

#include "core/SharedPtr.h"
#include "core/messages.h"
#include "graphics/tweens.h"

class TiXmlElement;

class TSoundInfoListener {
public:
    virtual ~TSoundInfoListener() = default;
    // A sound of the listener stopped and has no plays left.
    virtual void OnSoundFinished() {}
};

class TAlSoundInfo : public TTimerListener {
public:
    TAlSoundInfo();
    ~TAlSoundInfo() override;
    TAlSoundInfo(const TAlSoundInfo&) = delete;
    TAlSoundInfo& operator=(const TAlSoundInfo&) = delete;

    void LoadXml(TiXmlElement* element, bool openNow);
    void OpenStream();
    void CloseStream();
    void Play();
    void StartNow();
    void Stop();
    void SetVolume(float volume);
    bool IsPlaying() const;
    bool IsPaused() const;
    void Update(float dt);
    void OnTimerDone() override;

    unsigned mHandle = 0;
    unsigned mSource = 0;
    std::string mId;
    std::string mPath;
    int mLoopCount = 1;  // plays; -1 loops without end
    int mPlaysLeft = 1;
    float mVolume = 1.0f;  // base volume x list volume
    float mBaseVolume = 1.0f;
    float mDelay = 0.0f;
    TTimer mDelayTimer;
    TSoundInfoListener* mOwner = nullptr;
    bool mStreamed = true;
};

SharedPtr<TAlSoundInfo> CreateSoundInfo(TiXmlElement* element, bool openNow);

class TPlayList : public TSoundInfoListener {
public:
    TPlayList() = default;
    TPlayList(const TPlayList&) = delete;
    TPlayList& operator=(const TPlayList&) = delete;

    virtual bool Play(const std::string& id) = 0;
    virtual void SetPaused(bool paused) = 0;
    virtual void StopAll() = 0;
    virtual bool IsPlaying(const std::string& id) = 0;
    virtual void Update(float dt) = 0;
    virtual void SetVolume(float volume) = 0;

    void LoadXml(TiXmlElement* element, const char* tag, bool openNow);
    void OpenStreams();
    void CloseStreams();
    SharedPtr<TAlSoundInfo> FindSound(const std::string& id) const;

    std::vector<SharedPtr<TAlSoundInfo>> mSounds;
    float mVolume = 1.0f;
    bool mOpen = false;
};

class TSoundPlayList : public TPlayList {
public:
    TSoundPlayList(TiXmlElement* element, const char* tag, bool openNow, int category);

    bool Play(const std::string& id) override;
    void SetPaused(bool paused) override;
    void StopAll() override;
    bool IsPlaying(const std::string& id) override;
    void Update(float dt) override;
    void SetVolume(float volume) override;

    int mCategory = 0;  // 0 effects, 1 voice
};

class TMusicPlayList : public TPlayList {
public:
    static constexpr float kFadeSeconds = 5.0f;

    TMusicPlayList(TiXmlElement* element, const char* tag);

    bool Play(const std::string& id) override;
    void SetPaused(bool paused) override;
    void StopAll() override;
    bool IsPlaying(const std::string& id) override;
    void Update(float dt) override;
    void SetVolume(float volume) override;
    void OnSoundFinished() override;
    virtual bool PlayFirst(bool random);

    bool PlayTrack(const std::string& id);
    float Level() const { return mLevel.mCurrent; }

    IncValue mLevel;  // fade of the current track, 0..1
    bool mPaused = false;
    SharedPtr<TAlSoundInfo> mCurrent;
    SharedPtr<TAlSoundInfo> mPending;

private:
    void StartTrack(const SharedPtr<TAlSoundInfo>& track);
    void StartFadeOut();
};
