#include "game/user_info.h"

#include <algorithm>
#include <climits>

#include "core/buffer.h"
#include "core/logger.h"
#include "game/rewards.h"
#include "game/stages.h"

namespace {
const size_t kEntryBytes = 12;  // time, best score, best stars

int32_t ClampedSum(int32_t a, int32_t b)
{
    int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(sum, 0), INT32_MAX));
}
}  // namespace

bool TBaseUserInfo::Load(const std::string& path)
{
    TBufferBin buffer;
    if (!buffer.LoadFromFile(path, true, 0)) {
        if (buffer.HasError()) {
            mDamagedPath = path;
            mDamagedKeptAs.clear();
            KeepBadFile(path, &mDamagedKeptAs);
        }
        return false;
    }
    mDamagedPath.clear();
    mDamagedKeptAs.clear();
    buffer.ReadInt32();
    ReadBody(buffer);
    ReadExtra(buffer);
    if (buffer.BytesLeft() != 0) {
        GetLogger()->LogMessage("profile %s has %d bytes after its last field", path.c_str(),
                                static_cast<int>(buffer.BytesLeft()));
        return false;
    }
    return true;
}

bool TBaseUserInfo::Save(const std::string& path)
{
    TBufferBin buffer;
    buffer.WriteInt32(kSaveFileStamp);
    WriteBody(buffer);
    WriteExtra(buffer);
    return buffer.SaveToFile(path, true, 0);
}

bool TBaseUserInfo::HasKey(const std::string& key) const
{
    for (const auto& pair : mPairs)
        if (pair.first == key) return true;
    return false;
}

bool TBaseUserInfo::HasPair(const std::string& key, const std::string& value) const
{
    for (const auto& pair : mPairs)
        if (pair.first == key && pair.second == value) return true;
    return false;
}

void TBaseUserInfo::SetValue(const std::string& key, const std::string& value)
{
    for (auto& pair : mPairs) {
        if (pair.first != key) continue;
        if (pair.second != value) {
            pair.second = value;
            if (mListener) mListener->OnValueChanged(key, value);
        }
        return;
    }
    AddPair(key, value);
}

void TBaseUserInfo::AddPair(const std::string& key, const std::string& value)
{
    if (HasPair(key, value)) return;
    mPairs.emplace_back(key, value);
    if (mListener) mListener->OnPairAdded(key, value);
}

void TBaseUserInfo::Clear() { ResetDefaults(); }

void TBaseUserInfo::ResetDefaults()
{
    mFlag = 0;
    mPairs.clear();
    mMusicVolume = 0.4f;
    mSoundVolume = 0.5f;
    mVoiceVolume = 0.5f;
    mFourthVolume = 0.5f;
    mBool = false;
    mCounter = 0;
    mDamagedPath.clear();
    mDamagedKeptAs.clear();
}

int32_t TBaseUserInfo::AddToCounter(int32_t amount)
{
    mCounter = ClampedSum(mCounter, amount);
    return amount;
}

void TBaseUserInfo::SetFlag() { mFlag = 1; }

void TBaseUserInfo::ReadBody(TBaseBuffer& buffer)
{
    // The file keeps voice before sound.
    mMusicVolume = buffer.ReadMilli();
    mVoiceVolume = buffer.ReadMilli();
    mSoundVolume = buffer.ReadMilli();
    mCounter = buffer.ReadInt32();
    mFlag = static_cast<uint8_t>(buffer.ReadByte());
    mBool = buffer.ReadByte() != 0;
    unsigned count = static_cast<uint16_t>(buffer.ReadInt16());
    mPairs.clear();
    for (unsigned i = 0; i < count && buffer.BytesLeft() > 0; ++i) {
        std::string key, value;
        buffer.ReadString(key);
        buffer.ReadString(value);
        mPairs.emplace_back(key, value);
    }
}

void TBaseUserInfo::WriteBody(TBaseBuffer& buffer) const
{
    buffer.WriteMilli(mMusicVolume);
    buffer.WriteMilli(mVoiceVolume);
    buffer.WriteMilli(mSoundVolume);
    buffer.WriteInt32(mCounter);
    buffer.WriteByte(mFlag);
    buffer.WriteByte(mBool ? 1 : 0);
    // The count is 16 bits wide: pairs beyond it are not saved rather than misread.
    size_t count = std::min<size_t>(mPairs.size(), 0xFFFF);
    buffer.WriteInt16(static_cast<int32_t>(count));
    for (size_t i = 0; i < count; ++i) {
        buffer.BeginWriteSection((mPairs[i].first + "." + mPairs[i].second).c_str());
        buffer.WriteString(mPairs[i].first);
        buffer.WriteString(mPairs[i].second);
    }
}

static bool StageListIndexValid(const TStageList& list, int index)
{
    return index >= 0 && index < static_cast<int>(list.size());
}

bool TModeProgress::FirstStageComplete(bool usual) const
{
    const TStageList& list = GetStageList(usual);
    if (list.empty()) return true;  // a first stage of no levels
    size_t levels = list[0]->mLevels.size();
    for (size_t i = 0; i < levels; ++i)
        if (i >= mEntries.size() || mEntries[i].mBestScore == 0) return false;
    return true;
}

bool TModeProgress::FiveLevelsComplete(bool usual) const
{
    const TStageList& list = GetStageList(usual);
    if (list.empty()) return false;
    size_t levels = std::min(list[0]->mLevels.size(), mEntries.size());
    int done = 0;
    for (size_t i = 0; i < levels; ++i)
        if (mEntries[i].mBestScore > 0) ++done;
    return done >= 5;
}

void TModeProgress::Reset(int levelCount)
{
    mStage = 0;
    mLevel = -1;
    mLevelScore = 0;
    mTotalScore = 0;
    mFurther = 0;
    mFlag1 = 0;
    mFlag2 = 1;
    mFlag3 = 0;
    mFlag4 = 0;
    mFlag5 = 0;
    mEntries.assign(static_cast<size_t>(levelCount), TLevelEntry());
}

void TModeProgress::Read(TBaseBuffer& buffer)
{
    mStage = buffer.ReadInt32();
    mLevel = buffer.ReadInt32();
    mLevelScore = buffer.ReadInt32();
    mTotalScore = buffer.ReadInt32();
    mFurther = buffer.ReadInt32();
    mFlag4 = buffer.ReadByte() != 0;
    mFlag5 = buffer.ReadByte() != 0;
    mFlag3 = buffer.ReadByte() != 0;
    mFlag1 = buffer.ReadByte() != 0;
    mFlag2 = buffer.ReadByte() != 0;
    int32_t count = buffer.ReadInt32();
    // A count the remaining bytes cannot hold is a damaged file, not a reason to allocate.
    size_t fits = buffer.BytesLeft() / kEntryBytes;
    size_t n = count > 0 ? std::min(static_cast<size_t>(count), fits) : 0;
    if (count > 0 && static_cast<size_t>(count) > fits)
        GetLogger()->LogMessage("profile names %d level entries, room for %d", count, static_cast<int>(fits));
    mEntries.assign(n, TLevelEntry());
    for (TLevelEntry& entry : mEntries) {
        entry.mTime = buffer.ReadInt32();
        entry.mBestScore = buffer.ReadInt32();
        entry.mBestStars = buffer.ReadInt32();
    }
}

void TModeProgress::Write(TBaseBuffer& buffer) const
{
    buffer.WriteInt32(mStage);
    buffer.WriteInt32(mLevel);
    buffer.WriteInt32(mLevelScore);
    buffer.WriteInt32(mTotalScore);
    buffer.WriteInt32(mFurther);
    buffer.WriteByte(mFlag4 ? 1 : 0);
    buffer.WriteByte(mFlag5 ? 1 : 0);
    buffer.WriteByte(mFlag3 ? 1 : 0);
    buffer.WriteByte(mFlag1 ? 1 : 0);
    buffer.WriteByte(mFlag2 ? 1 : 0);
    buffer.WriteInt32(static_cast<int32_t>(mEntries.size()));
    for (const TLevelEntry& entry : mEntries) {
        buffer.WriteInt32(entry.mTime);
        buffer.WriteInt32(entry.mBestScore);
        buffer.WriteInt32(entry.mBestStars);
    }
}

TUserInfo::TUserInfo() : mPreset(new TBasePaintByNumberSettings()) { ResetDefaults(); }

bool TUserInfo::Load(const std::string& path)
{
    bool ok = TBaseUserInfo::Load(path);
    // The board and the map index the entries by global level number: a profile saved
    // with fewer levels (or sized before the stages were read) grows to the lists.
    for (int mode = 0; mode < 2; ++mode) {
        size_t levels = static_cast<size_t>(TotalLevelCount(GetStageList(mode == 1)));
        if (mProgress[mode].mEntries.size() < levels) mProgress[mode].mEntries.resize(levels);
    }
    return ok;
}

void TUserInfo::ResetDefaults()
{
    TBaseUserInfo::ResetDefaults();
    mDifficulty = 4;
    mMode = 0;
    mViewValue = 1.0f;
    mSavedValue = 0;
    for (int mode = 0; mode < 2; ++mode) mProgress[mode].Reset(TotalLevelCount(GetStageList(mode == 1)));
}

void TUserInfo::ResetPreset() { *mPreset = TBasePaintByNumberSettings(); }

void TUserInfo::ReadExtra(TBaseBuffer& buffer)
{
    mDifficulty = buffer.ReadByte();
    mMode = buffer.ReadByte();
    // Both index tables later on; a damaged or foreign value must not reach them.
    if (mDifficulty > 4) {
        GetLogger()->LogMessage("profile difficulty %d out of range, none chosen", mDifficulty);
        mDifficulty = 4;
    }
    if (mMode > 1) {
        GetLogger()->LogMessage("profile mode %d out of range, mode 0", mMode);
        mMode = 0;
    }
    mSavedValue = buffer.ReadInt32();
    mViewValue = buffer.ReadMilli();
    mProgress[0].Read(buffer);
    mProgress[1].Read(buffer);
    mPreset->LoadBinary(buffer);
}

void TUserInfo::WriteExtra(TBaseBuffer& buffer) const
{
    buffer.WriteByte(mDifficulty & 0xFF);
    buffer.WriteByte(mMode & 0xFF);
    buffer.WriteInt32(mSavedValue);
    buffer.WriteMilli(mViewValue);
    mProgress[0].Write(buffer);
    mProgress[1].Write(buffer);
    mPreset->SaveBinary(buffer);
}

int TUserInfo::AdvanceStage()
{
    TModeProgress& progress = CurrentModeProgress();
    const TStageList& list = GetStageList(mMode == 1);
    // A stage the lists no longer have counts as past the last one.
    if (StageListIndexValid(list, progress.mStage)) {
        int levels = static_cast<int>(list[progress.mStage]->mLevels.size());
        if (progress.mLevel != levels - 1) return 1;
        if (StageListIndexValid(list, progress.mStage + 1)) {
            ++progress.mStage;
            progress.mLevel = -1;
            return 0;
        }
    }
    progress.mStage = 0;
    progress.mLevel = -1;
    return 2;
}

void TUserInfo::AddToTotalScore(int32_t points)
{
    TModeProgress& progress = CurrentModeProgress();
    progress.mTotalScore = ClampedSum(progress.mTotalScore, points);
    GetRewardConnector().mTotalScore = progress.mTotalScore;
}

TUserInfo* GetUserInfo()
{
    static TUserInfo info;
    return &info;
}

namespace {
TProfileSaver* gProfileSaver = nullptr;
}  // namespace

void SetProfileSaver(TProfileSaver* saver) { gProfileSaver = saver; }

TProfileSaver* GetProfileSaver() { return gProfileSaver; }

std::string CurrentProfileIdText()
{
    TProfileSaver* saver = GetProfileSaver();
    return saver ? saver->CurrentUserIdText() : std::string();
}

bool SaveCurrentUserProfile()
{
    if (!gProfileSaver) {
        GetLogger()->LogMessage("no settings to save the current user with");
        return false;
    }
    return gProfileSaver->SaveCurrentUser();
}
