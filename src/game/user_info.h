// The player's profile: volumes, remembered key/value pairs, and for the mosaic game the
// mode, the progress of both modes and the player's difficulty preset. Saved as "user<id>".
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/difficulty.h"

class TBaseBuffer;

class TBaseUserInfoListener {
public:
    virtual ~TBaseUserInfoListener() = default;
    virtual void OnPairAdded(const std::string& /*key*/, const std::string& /*value*/) {}
    virtual void OnValueChanged(const std::string& /*key*/, const std::string& /*value*/) {}
    virtual void OnUserInfoChanged() {}
};

class TBaseUserInfo {
public:
    virtual ~TBaseUserInfo() = default;

    // False when the file is missing or damaged (nothing changes then), and when bytes
    // are left over after the last field (the fields are read all the same).
    virtual bool Load(const std::string& path);
    // False when the file could not be written (the buffer logs why).
    virtual bool Save(const std::string& path);
    virtual bool HasKey(const std::string& key) const;
    virtual bool HasPair(const std::string& key, const std::string& value) const;
    virtual void SetValue(const std::string& key, const std::string& value);
    virtual void AddPair(const std::string& key, const std::string& value);
    virtual void Clear();
    virtual void ResetDefaults();
    // Clamps the counter at 0; returns the amount it was given.
    virtual int32_t AddToCounter(int32_t amount);
    virtual void SetFlag();
    virtual void ReadBody(TBaseBuffer& buffer);
    virtual void WriteBody(TBaseBuffer& buffer) const;
    virtual void ReadExtra(TBaseBuffer& /*buffer*/) {}
    virtual void WriteExtra(TBaseBuffer& /*buffer*/) const {}

    void SetListener(TBaseUserInfoListener* listener) { mListener = listener; }
    TBaseUserInfoListener* GetListener() const { return mListener; }
    const std::vector<std::pair<std::string, std::string>>& Pairs() const { return mPairs; }

    uint8_t mFlag = 0;
    float mMusicVolume = 0.4f;
    float mSoundVolume = 0.5f;
    float mVoiceVolume = 0.5f;
    float mFourthVolume = 0.5f;  // category 2; not saved
    bool mBool = false;
    int32_t mCounter = 0;
    // Set when a load found the file damaged and kept it aside, until the profile is reset:
    // the file's path and the real name of its damaged copy ("" when it could not be kept).
    std::string mDamagedPath;
    std::string mDamagedKeptAs;

protected:
    TBaseUserInfoListener* mListener = nullptr;
    std::vector<std::pair<std::string, std::string>> mPairs;
};

// One saved result per level of the mode's stage list, by global level number.
struct TLevelEntry {
    int32_t mUnsaved = 0;
    int32_t mTime = 0;
    int32_t mBestScore = 0;
    int32_t mBestStars = 0;
};

struct TModeProgress {
    int32_t mStage = 0;
    int32_t mLevel = -1;
    int32_t mLevelScore = 0;
    int32_t mTotalScore = 0;
    int32_t mFurther = 0;
    uint8_t mFlag1 = 0;  // a level is running
    uint8_t mFlag2 = 1;
    uint8_t mFlag3 = 0;  // a level was ever started
    uint8_t mFlag4 = 0;
    uint8_t mFlag5 = 0;
    std::vector<TLevelEntry> mEntries;

    // usual: the "stagesusual" list, else "stages".
    bool FirstStageComplete(bool usual) const;
    bool FiveLevelsComplete(bool usual) const;

    void Reset(int levelCount);
    void Read(TBaseBuffer& buffer);
    void Write(TBaseBuffer& buffer) const;
};

class TUserInfo : public TBaseUserInfo {
public:
    TUserInfo();

    bool Load(const std::string& path) override;
    void ResetDefaults() override;
    void ReadExtra(TBaseBuffer& buffer) override;
    void WriteExtra(TBaseBuffer& buffer) const override;

    TModeProgress& CurrentModeProgress() { return mProgress[mMode]; }
    // 1 while the current stage has levels after the current one; 0 after moving to the
    // next stage; 2 after the last stage (back to stage 0).
    int AdvanceStage();
    void AddToTotalScore(int32_t points);
    // Back to the construction values (casual).
    void ResetPreset();

    TModeProgress mProgress[2];
    int32_t mMode = 0;
    float mViewValue = 1.0f;
    int32_t mSavedValue = 0;
    std::unique_ptr<TBasePaintByNumberSettings> mPreset;
    int32_t mDifficulty = 4;  // 4: none chosen yet
};

TUserInfo* GetUserInfo();

// Only the settings, on the host's floor, know which file holds the current player's
// profile: they register here, and the game saves the profile it changes through them.
class TProfileSaver {
public:
    virtual ~TProfileSaver() = default;
    virtual bool SaveCurrentUser() = 0;
    // The folder name of the current player's own files ("" when there is none).
    virtual std::string CurrentUserIdText() const { return std::string(); }
    // The display and cursor choices the options dialog shows and changes.
    virtual bool IsFullscreen() const { return false; }
    virtual bool ToggleFullscreen() { return false; }
    virtual bool IsDisplayChangePending() const { return false; }
    virtual void SetCustomCursor(bool /*custom*/) {}
    // Saves the current player's profile and the settings with it.
    virtual bool CommitUser() { return SaveCurrentUser(); }
};
void SetProfileSaver(TProfileSaver* saver);
TProfileSaver* GetProfileSaver();
// The current player's id as text; empty without a saver.
std::string CurrentProfileIdText();
// False (logged) when nothing is registered or the save fails.
bool SaveCurrentUserProfile();
