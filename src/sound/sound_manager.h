// The sound manager through which everything plays, stops and queries sounds by name.
#pragma once
#include <string>

class TSoundManager {
public:
    bool LoadSounds(const std::string& path);
    void Update(float /*dt*/) {}
    bool PlaySound(const std::string& id);
    void PauseAll(bool paused);
};

TSoundManager* GetSoundManager();
TSoundManager* FindSoundManager();  // null when none exists
void ReleaseSoundManager();
