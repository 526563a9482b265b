#include "sound/sound_manager.h"

#include <SDL_thread.h>

#include <cstdlib>

#include "core/xml_document.h"
#include "sound/al_engine.h"

namespace {
TSoundManager* gSoundManager = nullptr;
bool gSoundShutDown = false;

// A process that ends without the shutdown sequence (a test, an early exit) must not leave
// the audio thread stepping an engine that the exit is tearing down.
void ReleaseAtExit()
{
    if (gSoundManager) ReleaseSoundManager();
}

}  // namespace

TSoundManager::TSoundManager()
{
    CountAudioStart();
    mThread = SDL_CreateThread(AudioThreadMain, "audio", nullptr);
}

TSoundManager::~TSoundManager()
{
    if (TAlEngine* engine = FindAlEngine()) {
        engine->Lock();
        engine->RequestStop();
        // Waiting with the lock held would keep the thread from ever finishing its step.
        engine->Unlock();
    }
    if (mThread) SDL_WaitThread(mThread, nullptr);
    mMusicLists.clear();
    mSoundLists.clear();
}

bool TSoundManager::LoadSounds(const std::string& path)
{
    TiXmlElement* root = LoadXmlDocument(path);
    if (!root) {
        DeleteCurrentXmlDocument();
        return false;
    }
    AddMusicList("music", root, "music");
    AddMusicList("music1", root, "music1");
    AddSoundList("sound", root, "sound", true, 0);
    AddSoundList("voice", root, "voice", true, 1);
    DeleteCurrentXmlDocument();
    return true;
}

void TSoundManager::AddSoundList(const std::string& name, TiXmlElement* element, const char* tag, bool openNow,
                                 int category)
{
    if (name.empty()) return;
    SharedPtr<TSoundPlayList> list(new TSoundPlayList(element, tag, openNow, category));
    mSoundLists[name] = list;
    list->SetVolume(ClampGain(category != 0 ? mVoiceVolume : mSoundVolume));
}

void TSoundManager::AddMusicList(const std::string& name, TiXmlElement* element, const char* tag)
{
    if (name.empty()) return;
    SharedPtr<TMusicPlayList> list(new TMusicPlayList(element, tag));
    mMusicLists[name] = list;
    list->SetVolume(ClampGain(mMusicVolume));
}

SharedPtr<TSoundPlayList> TSoundManager::FindSoundList(const std::string& name) const
{
    auto it = mSoundLists.find(name);
    return it == mSoundLists.end() ? SharedPtr<TSoundPlayList>() : it->second;
}

SharedPtr<TMusicPlayList> TSoundManager::FindMusicList(const std::string& name) const
{
    auto it = mMusicLists.find(name);
    return it == mMusicLists.end() ? SharedPtr<TMusicPlayList>() : it->second;
}

void TSoundManager::RemoveSoundList(const std::string& name) { mSoundLists.erase(name); }

bool TSoundManager::PlaySound(const std::string& id)
{
    if (mCallObserver) mCallObserver->OnSoundCall("play", id);
    if (id.empty()) return false;
    for (auto& entry : mSoundLists)
        if (entry.second->mOpen && entry.second->Play(id)) return true;
    return false;
}

void TSoundManager::StopSound(const std::string& id)
{
    if (mCallObserver) mCallObserver->OnSoundCall("stop", id);
    for (auto& entry : mSoundLists) {
        if (SharedPtr<TAlSoundInfo> sound = entry.second->FindSound(id)) {
            sound->Stop();
            return;
        }
    }
}

bool TSoundManager::IsSoundPlaying(const std::string& id)
{
    if (mCallObserver && mCallObserver->ReportsPlaying(id)) return true;
    for (auto& entry : mSoundLists)
        if (entry.second->IsPlaying(id)) return true;
    return false;
}

bool TSoundManager::PlayMusic(const std::string& id)
{
    if (mCallObserver) mCallObserver->OnSoundCall("music", id);
    for (auto& entry : mMusicLists)
        if (entry.second->mOpen && entry.second->Play(id)) return true;
    return false;
}

bool TSoundManager::PlayMusicList(const std::string& name, bool random)
{
    if (mCallObserver) mCallObserver->OnSoundCall(random ? "shuffledmusiclist" : "musiclist", name);
    SharedPtr<TMusicPlayList> list = FindMusicList(name);
    return list && list->mOpen && list->PlayFirst(random);
}

void TSoundManager::StopAllMusic()
{
    if (mCallObserver) mCallObserver->OnSoundCall("stopallmusic", std::string());
    for (auto& entry : mMusicLists) entry.second->StopAll();
}

bool TSoundManager::IsMusicPlaying(const std::string& id)
{
    for (auto& entry : mMusicLists)
        if (entry.second->IsPlaying(id)) return true;
    return false;
}

bool TSoundManager::IsAnyMusicPlaying()
{
    for (auto& entry : mMusicLists) {
        const SharedPtr<TAlSoundInfo>& current = entry.second->mCurrent;
        if (current && current->IsPlaying()) return true;
    }
    return false;
}

void TSoundManager::SetSoundVolume(float volume, int category)
{
    for (auto& entry : mSoundLists)
        if (entry.second->mCategory == category) entry.second->SetVolume(ClampGain(volume));
    if (category != 0)
        mVoiceVolume = volume;
    else
        mSoundVolume = volume;
}

void TSoundManager::SetMusicVolume(float volume)
{
    for (auto& entry : mMusicLists) entry.second->SetVolume(ClampGain(volume));
    mMusicVolume = volume;
}

void TSoundManager::Update(float dt)
{
    for (auto& entry : mSoundLists) entry.second->Update(dt);
    for (auto& entry : mMusicLists) entry.second->Update(dt);
}

void TSoundManager::PauseAll(bool paused)
{
    for (auto& entry : mSoundLists) entry.second->SetPaused(paused);
    for (auto& entry : mMusicLists) entry.second->SetPaused(paused);
}

TSoundManager* GetSoundManager()
{
    if (!gSoundManager && !gSoundShutDown) {
        static bool atExit = std::atexit(ReleaseAtExit) == 0;
        (void)atExit;
        GetAlEngine();
        gSoundManager = new TSoundManager();
    }
    return gSoundManager;
}

TSoundManager* FindSoundManager() { return gSoundManager; }

void PlayNamedSound(const std::string& name)
{
    if (name.empty()) return;
    if (TSoundManager* sound = GetSoundManager()) sound->PlaySound(name);
}

void StopNamedSound(const std::string& name)
{
    if (name.empty()) return;
    if (TSoundManager* sound = GetSoundManager()) sound->StopSound(name);
}

void PlayNamedSoundOnce(const std::string& name)
{
    if (name.empty()) return;
    TSoundManager* sound = GetSoundManager();
    if (sound && !sound->IsSoundPlaying(name)) sound->PlaySound(name);
}

void ReleaseSoundManager()
{
    // The lists close their streams here, on the main thread, after the thread has ended.
    delete gSoundManager;
    gSoundManager = nullptr;
    gSoundShutDown = true;
    ReleaseAlEngine();
}

void RearmSoundManagerForTests()
{
    gSoundShutDown = false;
    SetAlEngineShutDown(false);
}
