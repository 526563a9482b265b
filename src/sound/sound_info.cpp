#include "sound/sound_info.h"

#include <tinyxml.h>

#include "core/logger.h"
#include "core/random.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "sound/al_engine.h"

namespace {

float ClampVolume(float volume, const std::string& id)
{
    if (volume >= 0.0f && volume <= 1.0f) return volume;
    GetLogger()->LogDebug("Wrong volume value(%f) on sound %s", volume, id.c_str());
    return ClampGain(volume);
}

// Effective volume = base x list volume; a playing sound hears it at once. The engine keeps
// the gain with the stream, so the audio step does not put the old one back.
void ApplyListVolume(TAlSoundInfo* sound, float volume)
{
    sound->mVolume = sound->mBaseVolume * ClampVolume(volume, sound->mId);
    TAlEngine* engine = GetAlEngine();
    if (engine && engine->IsPlaying(sound->mSource)) engine->SetGain(sound->mSource, sound->mVolume);
}

}  // namespace

TAlSoundInfo::TAlSoundInfo() { mDelayTimer.SetListener(this); }

TAlSoundInfo::~TAlSoundInfo()
{
    // A list dropped without CloseStreams would leave its streams open, a loop sounding on
    // with nothing left that could stop it.
    TAlEngine* engine = FindAlEngine();
    if (engine && mHandle) {
        engine->Stop(mSource);
        engine->CloseStream(mHandle);
    }
}

void TAlSoundInfo::LoadXml(TiXmlElement* element, bool openNow)
{
    mId = GetAttrString(element, "id");
    mLoopCount = GetAttrInt(element, "loop", 1);
    mPlaysLeft = mLoopCount;
    float volume = GetAttrFloat(element, "volume", 1.0f);
    mBaseVolume = ClampGain(volume);
    // Compared so that NaN is reported too.
    if (!(mBaseVolume == volume))
        GetLogger()->LogMessage("sound %s: volume %f out of 0..1, %.1f used", mId.c_str(), volume, mBaseVolume);
    mVolume = mBaseVolume;
    mDelay = GetAttrFloat(element, "delay", 0.0f);
    mStreamed = GetAttrBool(element, "streamed", true);
    mPath = "assets/" + GetAttrString(element, "name") + ".ogg";
    if (openNow) OpenStream();
}

void TAlSoundInfo::OpenStream()
{
    if (mHandle) return;
    if (TAlEngine* engine = GetAlEngine()) mHandle = engine->OpenStream(mPath);
}

void TAlSoundInfo::CloseStream()
{
    if (!mHandle) return;
    if (TAlEngine* engine = GetAlEngine()) engine->CloseStream(mHandle);
    mHandle = 0;
    mSource = 0;
}

void TAlSoundInfo::Play()
{
    if (!mHandle) {
        GetLogger()->LogDebug("Cannot play sound %s", mId.c_str());
        return;
    }
    mPlaysLeft = mLoopCount;
    if (mDelay > 0.0f)
        mDelayTimer.Start(mDelay);
    else
        StartNow();
}

void TAlSoundInfo::StartNow()
{
    TAlEngine* engine = GetAlEngine();
    mSource = engine ? engine->Play(mHandle, mLoopCount == -1, mVolume) : 0;
    if (mPlaysLeft > 0) --mPlaysLeft;
}

void TAlSoundInfo::Stop()
{
    if (TAlEngine* engine = GetAlEngine()) engine->Stop(mSource);
    mSource = 0;
}

void TAlSoundInfo::SetVolume(float volume) { ApplyListVolume(this, volume); }

bool TAlSoundInfo::IsPlaying() const
{
    TAlEngine* engine = GetAlEngine();
    return engine && engine->IsPlaying(mSource);
}

bool TAlSoundInfo::IsPaused() const
{
    TAlEngine* engine = GetAlEngine();
    return engine && engine->IsPaused(mSource);
}

void TAlSoundInfo::Update(float dt)
{
    if (mSource && !IsPlaying() && !IsPaused()) {
        // The engine reported the end; the next play of a "loop" count starts here.
        if (mPlaysLeft != 0) {
            StartNow();
        } else {
            mSource = 0;
            if (mOwner) mOwner->OnSoundFinished();
        }
    }
    mDelayTimer.Update(dt);
}

void TAlSoundInfo::OnTimerDone() { StartNow(); }

SharedPtr<TAlSoundInfo> CreateSoundInfo(TiXmlElement* element, bool openNow)
{
    SharedPtr<TAlSoundInfo> sound(new TAlSoundInfo());
    sound->LoadXml(element, openNow);
    return sound;
}

void TPlayList::LoadXml(TiXmlElement* element, const char* tag, bool openNow)
{
    std::vector<TiXmlElement*> children;
    GetChildElements(element, tag, children);
    for (TiXmlElement* child : children) {
        SharedPtr<TAlSoundInfo> sound = CreateSoundInfo(child, openNow);
        sound->mOwner = this;
        mSounds.push_back(sound);
    }
    mOpen = openNow;
}

void TPlayList::OpenStreams()
{
    for (auto& sound : mSounds) sound->OpenStream();
    mOpen = true;
}

void TPlayList::CloseStreams()
{
    for (auto& sound : mSounds) {
        sound->CloseStream();
        sound->mSource = 0;
    }
    mOpen = false;
}

SharedPtr<TAlSoundInfo> TPlayList::FindSound(const std::string& id) const
{
    for (auto& sound : mSounds)
        if (sound->mId == id) return sound;
    return SharedPtr<TAlSoundInfo>();
}

TSoundPlayList::TSoundPlayList(TiXmlElement* element, const char* tag, bool openNow, int category)
    : mCategory(category)
{
    LoadXml(element, tag, openNow);
}

bool TSoundPlayList::Play(const std::string& id)
{
    SharedPtr<TAlSoundInfo> sound = FindSound(id);
    if (!sound) return false;
    sound->Play();
    return true;
}

void TSoundPlayList::SetPaused(bool paused)
{
    TAlEngine* engine = GetAlEngine();
    if (!engine) return;
    for (auto& sound : mSounds) engine->SetPaused(sound->mSource, paused);
}

void TSoundPlayList::StopAll()
{
    for (auto& sound : mSounds) sound->Stop();
}

bool TSoundPlayList::IsPlaying(const std::string& id)
{
    SharedPtr<TAlSoundInfo> sound = FindSound(id);
    return sound && sound->mSource && sound->IsPlaying();
}

void TSoundPlayList::Update(float dt)
{
    for (auto& sound : mSounds) sound->Update(dt);
}

void TSoundPlayList::SetVolume(float volume)
{
    mVolume = volume;
    TAlEngine* engine = GetAlEngine();
    // One lock around the whole list, so the audio step sees all of the change or none.
    if (engine) engine->Lock();
    for (auto& sound : mSounds) ApplyListVolume(sound.Get(), volume);
    if (engine) engine->Unlock();
}

TMusicPlayList::TMusicPlayList(TiXmlElement* element, const char* tag)
{
    mLevel.mFinishAtOnce = false;
    LoadXml(element, tag, true);
}

bool TMusicPlayList::Play(const std::string& id) { return PlayTrack(id); }

bool TMusicPlayList::PlayFirst(bool random)
{
    if (mSounds.empty()) return false;
    size_t index = random ? static_cast<size_t>(GameRand()) % mSounds.size() : 0;
    return PlayTrack(mSounds[index]->mId);
}

bool TMusicPlayList::PlayTrack(const std::string& id)
{
    SharedPtr<TAlSoundInfo> track = FindSound(id);
    if (!track) return false;
    if (track == mCurrent) {
        mPending = SharedPtr<TAlSoundInfo>();
        float level = mLevel.mCurrent;
        mLevel.Set(level, 1.0f, level == 1.0f ? 0.1f : (1.0f - level) * kFadeSeconds, true);
    } else if (mCurrent) {
        mPending = track;
        StartFadeOut();
    } else {
        StartTrack(track);
    }
    return true;
}

void TMusicPlayList::StartTrack(const SharedPtr<TAlSoundInfo>& track)
{
    mCurrent = track;
    track->Play();
    track->SetVolume(0.0f);
    mLevel.Set(0.0f, 1.0f, kFadeSeconds, true);
}

void TMusicPlayList::StartFadeOut()
{
    float level = mLevel.mCurrent;
    mLevel.Set(level, 0.0f, level == 0.0f ? 0.1f : level * kFadeSeconds, true);
}

void TMusicPlayList::SetPaused(bool paused)
{
    if (!mCurrent) return;
    mPaused = paused;
    if (TAlEngine* engine = GetAlEngine()) engine->SetPaused(mCurrent->mSource, paused);
}

void TMusicPlayList::StopAll()
{
    if (!mCurrent) return;
    mPending = SharedPtr<TAlSoundInfo>();
    StartFadeOut();
}

bool TMusicPlayList::IsPlaying(const std::string& id)
{
    return mCurrent && mCurrent->mId == id && mCurrent->IsPlaying();
}

void TMusicPlayList::Update(float dt)
{
    if (mPaused) return;
    if (mLevel.mRunning) {
        bool finished = mLevel.Update(dt);
        if (finished && mLevel.mCurrent == 0.0f && mCurrent) {
            mCurrent->Stop();
            mCurrent = SharedPtr<TAlSoundInfo>();
            if (mPending) {
                SharedPtr<TAlSoundInfo> next = mPending;
                mPending = SharedPtr<TAlSoundInfo>();
                StartTrack(next);
            }
        }
    }
    if (mCurrent) {
        // Held here: the end of the track may replace mCurrent from inside its update.
        SharedPtr<TAlSoundInfo> current = mCurrent;
        current->SetVolume(mVolume * mLevel.mCurrent);
        current->Update(dt);
    }
}

void TMusicPlayList::SetVolume(float volume)
{
    mVolume = volume;
    if (mCurrent) mCurrent->SetVolume(mLevel.mCurrent * volume);
}

void TMusicPlayList::OnSoundFinished()
{
    size_t next = 0;
    for (size_t i = 0; i < mSounds.size(); ++i) {
        if (mSounds[i] == mCurrent) {
            next = i + 1 < mSounds.size() ? i + 1 : 0;
            break;
        }
    }
    mCurrent = SharedPtr<TAlSoundInfo>();
    PlayTrack(mSounds[next]->mId);
}
