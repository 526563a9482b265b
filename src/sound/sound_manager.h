// The sound manager through which everything plays, stops and queries sounds by name: named
// sound and music lists, one volume per category, and the "audio" thread that streams them.
#pragma once
#include <map>
#include <string>

#include "core/SharedPtr.h"
#include "sound/sound_info.h"

struct SDL_Thread;
class TiXmlElement;

// Hears every play, stop and music request before the manager carries it out: tests check
// what a screen asked for without listening to the device.
class TSoundCallObserver {
public:
    virtual ~TSoundCallObserver() = default;
    // call: "play", "stop", "music", "musiclist" (in order), "shuffledmusiclist" or "stopallmusic";
    // id is empty for "stopallmusic".
    virtual void OnSoundCall(const char* call, const std::string& id) = 0;
    // True for a name the observer stands in for as playing (a test without a device).
    virtual bool ReportsPlaying(const std::string& /*id*/) const { return false; }
};

class TSoundManager {
public:
    TSoundManager();
    ~TSoundManager();
    TSoundManager(const TSoundManager&) = delete;
    TSoundManager& operator=(const TSoundManager&) = delete;

    bool LoadSounds(const std::string& path);
    void AddSoundList(const std::string& name, TiXmlElement* element, const char* tag, bool openNow, int category);
    void AddMusicList(const std::string& name, TiXmlElement* element, const char* tag);
    SharedPtr<TSoundPlayList> FindSoundList(const std::string& name) const;
    SharedPtr<TMusicPlayList> FindMusicList(const std::string& name) const;
    void RemoveSoundList(const std::string& name);

    bool PlaySound(const std::string& id);
    void StopSound(const std::string& id);
    bool IsSoundPlaying(const std::string& id);
    bool PlayMusic(const std::string& id);
    bool PlayMusicList(const std::string& name, bool random);
    void StopAllMusic();
    bool IsMusicPlaying(const std::string& id);
    bool IsAnyMusicPlaying();

    void SetSoundVolume(float volume, int category);
    void SetMusicVolume(float volume);
    float GetSoundVolume() const { return mSoundVolume; }
    float GetMusicVolume() const { return mMusicVolume; }
    float GetVoiceVolume() const { return mVoiceVolume; }

    void Update(float dt);
    void PauseAll(bool paused);
    void SetCallObserver(TSoundCallObserver* observer) { mCallObserver = observer; }

private:
    std::map<std::string, SharedPtr<TSoundPlayList>> mSoundLists;
    std::map<std::string, SharedPtr<TMusicPlayList>> mMusicLists;
    // The last values given, unclamped; lists get them clamped.
    float mSoundVolume = 1.0f;
    float mMusicVolume = 1.0f;
    float mVoiceVolume = 1.0f;
    SDL_Thread* mThread = nullptr;
    TSoundCallObserver* mCallObserver = nullptr;  // not owned
};

// Created on first use with the OpenAL engine and the audio thread; none after release.
TSoundManager* GetSoundManager();
TSoundManager* FindSoundManager();  // null when none exists
// The scene and the board play and stop sounds by name through these: nothing happens for an
// empty name, nor after the sound shutdown, when there is no manager to ask.
void PlayNamedSound(const std::string& name);
void StopNamedSound(const std::string& name);
// For sounds that follow a drag or a tick: started only when not already playing.
void PlayNamedSoundOnce(const std::string& name);
// Joins the audio thread, releases the lists (closing their streams), then the engine.
void ReleaseSoundManager();
// Lets tests build the manager and engine again after a release.
void RearmSoundManagerForTests();
