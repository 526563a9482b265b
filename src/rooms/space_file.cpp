// What a space reads of its file (common attributes, state lists, music, objects, sounds,
// effectors, items to find) and the state it writes into a saved-state buffer.
#include <tinyxml.h>

#include <memory>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/logger.h"
#include "core/random.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "objects/object.h"
#include "objects/object_factory.h"
#include "rooms/game_space.h"
#include "rooms/room_factory.h"
#include "sound/sound_manager.h"

namespace {

// Without the application's factory the space builds the kinds a space file may name itself.
TEffector* BuildEffector(const std::string& type)
{
    if (TEffectorsFactory* factory = GetAppState().mEffectorsFactory.get()) return factory->Create(type);
    return CreateSpaceEffector(type);
}

// A flat name list changes only for a non-empty text, which replaces it.
void ReadNames(const TiXmlElement* element, const char* name, TNameGroup& names)
{
    const std::string text = GetAttrString(element, name, "");
    if (!text.empty()) SplitString(text, ',', names);
}

}  // namespace

int TGameSpace::OpenFile(const std::string& path)
{
    mFilePath = path;
    TiXmlElement* root = LoadXmlDocument(path);
    if (!root) {
        DeleteCurrentXmlDocument();
        return 0;
    }
    TiXmlElement* common = root->FirstChildElement("Common");
    mDataFolder = GetAttrString(common, "folder", "");
    mSpaceName = GetAttrString(common, "name", "");
    SetName(mSpaceName.empty() ? FormatString("%d", GameRand()) : mSpaceName);
    DeleteCurrentXmlDocument();
    return 1;
}

void TGameSpace::LoadAttributes(TiXmlElement* common)
{
    if (!common) return;
    mSpaceName = GetAttrString(common, "name", "");
    SetName(mSpaceName);
    mDataFolder = GetAttrString(common, "folder", "");
    mRules = GetAttrString(common, "rules", "");
    mHelpFontName = GetAttrString(common, "helpfontname", mHelpFontName.c_str());
    mResetButton = GetAttrBool(common, "resetbtnavalible", mResetButton);
    // The leading numbers that can be read are stored; the others keep their values.
    GetAttrRect(common, "cliprect", &mClipX, &mClipY, &mClipW, &mClipH, ".");
    mVirtualWidth = GetAttrInt(common, "virtualwidth", 0);
    mVirtualHeight = GetAttrInt(common, "virtualheight", 0);
    mShowSound = GetAttrString(common, "showsound", "");
    mHideSound = GetAttrString(common, "hidesound", "");
    mRectX = GetAttrInt(common, "x", 0);
    mRectY = GetAttrInt(common, "y", 0);
    mRectW = GetAttrInt(common, "w", 0);
    mRectH = GetAttrInt(common, "h", 0);
    mCanBeOpened = GetAttrBool(common, "canbeopened", mCanBeOpened);
    mCanShowBackHint = GetAttrBool(common, "canshowbackhint", mCanShowBackHint);
    LoadObjectStates(common);
    LoadMusic(common);
}

void TGameSpace::LoadObjectStates(TiXmlElement* common)
{
    if (!common) return;
    struct TRefKey {
        const char* mName;
        TObjectRefList TGameSpace::*mList;
    };
    // Object-reference lists start empty: an absent attribute leaves them so.
    static const TRefKey kRefKeys[] = {
        {"unlock", &TGameSpace::mUnlock},
        {"activate", &TGameSpace::mActivate},
        {"deactivate", &TGameSpace::mDeactivate},
        {"visible", &TGameSpace::mVisible},
        {"hide", &TGameSpace::mHide},
        {"lock", &TGameSpace::mLock},
        {"unlockshow", &TGameSpace::mUnlockShow},
        {"activateshow", &TGameSpace::mActivateShow},
        {"deactivateshow", &TGameSpace::mDeactivateShow},
        {"visibleshow", &TGameSpace::mVisibleShow},
        {"hideshow", &TGameSpace::mHideShow},
        {"lockshow", &TGameSpace::mLockShow},
    };
    for (const TRefKey& key : kRefKeys) ParseObjectRefList(this->*key.mList, GetAttrString(common, key.mName, ""), "");
    ParseNamePairList(mStatesShow, GetAttrString(common, "statesshow", ""));
    static const TRefKey kHideKeys[] = {
        {"unlockhide", &TGameSpace::mUnlockHide},
        {"activatehide", &TGameSpace::mActivateHide},
        {"deactivatehide", &TGameSpace::mDeactivateHide},
        {"visiblehide", &TGameSpace::mVisibleHide},
        {"hidehide", &TGameSpace::mHideHide},
        {"lockshide", &TGameSpace::mLockHide},
    };
    for (const TRefKey& key : kHideKeys) ParseObjectRefList(this->*key.mList, GetAttrString(common, key.mName, ""), "");
    // "taskshide" and "tasksshow" share one list: a non-empty "tasksshow" replaces the other.
    ParseNameList(mTasks, GetAttrString(common, "taskshide", ""));
    ParseNameList(mTasks, GetAttrString(common, "tasksshow", ""));
    ParseNameList(mTasksRemove, GetAttrString(common, "tasksr", ""));
    ParseNameList(mTasksShowRemove, GetAttrString(common, "tasksshowremove", ""));
    ParseValueRefList(mFlagsShow, GetAttrString(common, "flagsshow", ""));
    ParseValueRefList(mFlags, GetAttrString(common, "flags", ""));
    ParseValueRefList(mFlagsHide, GetAttrString(common, "flagshide", ""));
    ParseNamePairList(mStates, GetAttrString(common, "states", ""));
    ParseNamePairList(mStatesShow, GetAttrString(common, "statesshow", ""));
    ParseNamePairList(mStatesHide, GetAttrString(common, "stateshide", ""));
    ReadNames(common, "aobj", mAobj);
    ReadNames(common, "robj", mRobj);
    ReadNames(common, "cobj", mCobj);
    ReadNames(common, "aobjshow", mAobjShow);
    ReadNames(common, "robjshow", mRobjShow);
    ReadNames(common, "cobjshow", mCobjShow);
    mFreeze = GetAttrBool(common, "freeze", false);
    mFreezeHide = GetAttrBool(common, "freezehide", false);
}

void TGameSpace::LoadMusic(TiXmlElement* common)
{
    if (!common) return;
    mStartMusicNow = GetAttrBool(common, "StartMusicNow", true);
    mAnywayStartMusicAfterShowCount = GetAttrInt(common, "AnywayStartMusicAfterShowCount", 0);
    mStopPrevMusic = GetAttrBool(common, "StopPrevMusic", true);
    mMusic.clear();
    GetAttrList(common, "music", ',', mMusic);
    if (mMusic.empty()) mStartMusicNow = false;
}

void TGameSpace::LoadObjects(TiXmlElement* element, TObject* parent)
{
    if (!element) return;
    std::vector<TiXmlElement*> elements;
    GetChildElements(element, "object", elements);
    for (TiXmlElement* e : elements) {
        const std::string type = GetAttrString(e, "type", "");
        TBaseObjectFactory* factory = GetAppState().mObjectFactory.get();
        std::unique_ptr<TObject> object(factory ? factory->Create(type) : new TObject());
        if (!object) continue;  // a kind nobody builds takes its nested objects with it
        object->mOwnerSpace = this;
        // Computed before the object has read its name: only a section label.
        object->mStateKey = object->GetFullName();
        object->mTypeName = type;
        object->LoadXml(e, mDataFolder);
        TObject* loaded = object.get();
        if (parent) {
            if (!parent->AddChild(loaded)) continue;
            object.release();
            loaded->mParentObject = parent;
        } else {
            mObjects.push_back(std::move(object));
        }
        mEffectorRefs.push_back(&loaded->mEffectorName);
        LoadObjects(e, loaded);
        loaded->OnLoaded();
    }
}

void TGameSpace::LoadSound(TiXmlElement* root)
{
    if (!root) return;
    // Registered closed, even without "sound" children; a list of that name is replaced.
    // After the sound shutdown there is nowhere to register it.
    if (TSoundManager* sound = GetSoundManager()) sound->AddSoundList(mSpaceName, root, "sound", false, 0);
}

void TGameSpace::LoadEffectors(TiXmlElement* root)
{
    if (!root) return;
    std::vector<TiXmlElement*> elements;
    GetChildElements(root, "effector", elements);
    for (TiXmlElement* e : elements) {
        std::unique_ptr<TEffector> effector(BuildEffector(GetAttrString(e, "type", "")));
        if (!effector) continue;
        effector->LoadXml(e);
        const std::string& name = effector->mName;
        int count = 0;
        for (const std::string* ref : mEffectorRefs) {
            if (*ref == name) ++count;
        }
        // Every object naming the effector gets one of its own: the first in load order the
        // highest suffix, the last the effector itself.
        for (; count > 1; --count) {
            for (std::string* ref : mEffectorRefs) {
                if (*ref != name) continue;
                std::unique_ptr<TEffector> clone(effector->Clone());
                if (!clone) break;
                clone->mName = name + FormatString("_%d", count);
                *ref = clone->mName;
                mEffectors.push_back(std::move(clone));
                break;
            }
        }
        mEffectors.push_back(std::move(effector));
    }
}

void TGameSpace::LoadItemsToFind(TiXmlElement* root)
{
    if (!root) return;
    std::vector<TiXmlElement*> elements;
    GetChildElements(root, "itemtofind", elements);
    mItemsToFind.clear();
    mItemsToFind.resize(elements.size());
    for (size_t i = 0; i < elements.size(); ++i) LoadItemToFind(elements[i], mItemsToFind[i]);
}

void TGameSpace::LoadItemToFind(TiXmlElement* element, ItemToFindRecord& record)
{
    record.mId = GetAttrString(element, "id", "");
    ReadStaticImageAttrs(element, &record.mImage, mDataFolder);
}

std::string TGameSpace::GetFullKey() const
{
    std::string key = GetName();
    for (const TGameSpace* space = mParentSpace; space; space = space->mParentSpace)
        key = space->mSpaceName + "." + key;
    return key;
}

std::string TGameSpace::GetRootName() const
{
    std::string root = GetName();
    for (const TGameSpace* space = mParentSpace; space; space = space->mParentSpace) {
        const std::string& name = static_cast<const DrawObject*>(space)->GetName();
        if (!name.empty()) root = name;
    }
    return root;
}

void TGameSpace::SaveState(TBaseBuffer& buffer)
{
    if (mStateKey.empty()) mStateKey = GetFullKey();
    buffer.BeginWriteSection(("gamespace_" + mStateKey).c_str());
    buffer.WriteString(GetName());
    buffer.WriteByte(mSaved ? 1 : 0);
    buffer.WriteByte(mHintUsed ? 1 : 0);
    buffer.WriteString(mSavedText);
    buffer.WriteMilli(mTime);
    for (const auto& effector : mEffectors) {
        TBaseBuffer record;
        effector->SaveState(record);
        buffer.WriteBuffer(record);
    }
    mOffsetTweenX.SaveState(&buffer);
    mOffsetTweenY.SaveState(&buffer);
    SaveObjectsBinary(buffer);
}

void TGameSpace::LoadState(TBaseBuffer& buffer)
{
    if (mStateKey.empty()) mStateKey = GetFullKey();
    buffer.BeginReadSection(("gamespace_" + mStateKey).c_str());
    std::string name;
    buffer.ReadString(name);
    SetName(name);
    mSaved = buffer.ReadByte() != 0;
    mHintUsed = buffer.ReadByte() != 0;
    buffer.ReadString(mSavedText);
    mTime = buffer.ReadMilli();
    // The counts are not stored: as many records as the space has now.
    for (const auto& effector : mEffectors) {
        TBaseBuffer record;
        buffer.ReadBuffer(record);
        effector->LoadState(record);
    }
    mOffsetTweenX.LoadState(&buffer);
    mOffsetTweenY.LoadState(&buffer);
    mOffsetX = mOffsetTweenX.mCurrent;
    mOffsetY = mOffsetTweenY.mCurrent;
    LoadObjectsBinary(buffer);
}

void TGameSpace::SaveObjectsBinary(TBaseBuffer& buffer)
{
    for (const auto& object : mObjects) {
        TBaseBuffer record;
        object->SaveState(record);
        buffer.WriteBuffer(record);
    }
}

void TGameSpace::LoadObjectsBinary(TBaseBuffer& buffer)
{
    for (const auto& object : mObjects) {
        TBaseBuffer record;
        buffer.ReadBuffer(record);
        object->LoadState(record);
    }
}
