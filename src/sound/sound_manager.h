// The sound manager through which everything plays, stops and queries sounds by name.
#pragma once
#include <string>

class TSoundManager {
public:
    bool LoadSounds(const std::string& path);
    void Update(float /*dt*/) {}
    bool PlaySound(const std::string& id);
    void PauseAll(bool paused);

    // Category 0 is the sound effects; any other category's value is kept as the voice volume.
    void SetSoundVolume(float volume, int category);
    void SetMusicVolume(float volume);
    float GetSoundVolume() const { return mSoundVolume; }
    float GetMusicVolume() const { return mMusicVolume; }
    float GetVoiceVolume() const { return mVoiceVolume; }

private:
    float mSoundVolume = 1.0f;
    float mMusicVolume = 1.0f;
    float mVoiceVolume = 1.0f;
};

TSoundManager* GetSoundManager();
TSoundManager* FindSoundManager();  // null when none exists
void ReleaseSoundManager();
