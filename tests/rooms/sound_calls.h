// Records what the sound manager is asked to do, as "play name", "stop name" lines.
#pragma once
#include <string>
#include <vector>

#include "sound/sound_manager.h"

struct TRecordedSoundCalls : TSoundCallObserver {
    std::vector<std::string> mCalls;
    TRecordedSoundCalls() { GetSoundManager()->SetCallObserver(this); }
    ~TRecordedSoundCalls() override { GetSoundManager()->SetCallObserver(nullptr); }
    TRecordedSoundCalls(const TRecordedSoundCalls&) = delete;
    TRecordedSoundCalls& operator=(const TRecordedSoundCalls&) = delete;
    void OnSoundCall(const char* call, const std::string& id) override
    {
        mCalls.push_back(id.empty() ? std::string(call) : std::string(call) + " " + id);
    }
    bool ReportsPlaying(const std::string& id) const override
    {
        for (const std::string& name : mPlaying)
            if (name == id) return true;
        return false;
    }
    std::vector<std::string> mPlaying;  // names the manager answers as playing
};
