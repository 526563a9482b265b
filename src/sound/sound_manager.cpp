#include "sound/sound_manager.h"

#include "core/xml_document.h"

namespace {
TSoundManager* gSoundManager = nullptr;
}

bool TSoundManager::LoadSounds(const std::string& path)
{
    bool ok = LoadXmlDocument(path) != nullptr;
    DeleteCurrentXmlDocument();
    return ok;
}

void TSoundManager::SetSoundVolume(float volume, int category)
{
    if (category != 0)
        mVoiceVolume = volume;
    else
        mSoundVolume = volume;
}

void TSoundManager::SetMusicVolume(float volume) { mMusicVolume = volume; }

// Seam: no sound lists yet, so nothing plays and nothing is there to pause.
bool TSoundManager::PlaySound(const std::string& /*id*/) { return false; }

void TSoundManager::PauseAll(bool /*paused*/) {}

TSoundManager* GetSoundManager()
{
    if (!gSoundManager) gSoundManager = new TSoundManager();
    return gSoundManager;
}

TSoundManager* FindSoundManager() { return gSoundManager; }

void ReleaseSoundManager()
{
    delete gSoundManager;
    gSoundManager = nullptr;
}
