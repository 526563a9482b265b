#include "rooms/game_space.h"

#include <SDL.h>

#include <algorithm>
#include <climits>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/messages.h"
#include "core/numbers.h"
#include "game/user_info.h"
#include "graphics/clip_scope.h"
#include "objects/object.h"
#include "rooms/effector.h"
#include "rooms/game_event.h"
#include "rooms/inventory_panel.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"
#include "sound/sound_manager.h"

namespace {
// The tool a room put into the application's tools list under that name.
TTool* FindGlobalTool(const std::string& name) { return GlobalToolsList().FindTool(name); }

// counter + 1 < limit, in 64 bits: the limit is whatever the file gave.
bool BelowLimit(int32_t counter, int32_t limit)
{
    return static_cast<int64_t>(counter) + 1 < static_cast<int64_t>(limit);
}

// An object is offered a press only while it has uses left: with needed tools only the
// tool uses count.
bool HasUsesLeft(const TObject& object)
{
    if (!object.mNeededTools.empty()) return BelowLimit(object.mToolCounter, object.mMaxToolUses);
    return BelowLimit(object.mClickCounter, object.mMaxClicks);
}

template <class TList>
const typename TList::value_type* GroupAt(const TList& list, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return nullptr;
    return &list[static_cast<size_t>(index)];
}
}  // namespace

TGameSpace::TGameSpace() = default;

// The objects go last: the effector references point into them. Rooms empty the list
// themselves first.
TGameSpace::~TGameSpace()
{
    for (auto& effect : mEffects) effect.reset();
    TGameSpace::CloseSounds();
    mEffectorRefs.clear();
    mEffectors.clear();
    mOwnEffector.reset();
    mObjects.clear();
}

void TGameSpace::PlaySound(const std::string& name) { PlayNamedSound(name); }

int TGameSpace::PlayShowSounds()
{
    for (const std::string& name : mShowSounds) PlaySound(name);
    return static_cast<int>(mShowSounds.size());
}

int TGameSpace::StopShowSounds()
{
    TSoundManager* sound = FindSoundManager();
    for (const std::string& name : mShowSounds) {
        if (sound) sound->StopSound(name);
    }
    return static_cast<int>(mShowSounds.size());
}

bool TGameSpace::IsSpaceType(int mask) const { return (mask & GetSpaceType()) > 0; }

void TGameSpace::Clear(bool deleteAll)
{
    mTime = 0.0f;
    mClosed = false;
    mMark = false;
    mEffectorRefs.clear();
    if (!deleteAll) return;
    mEffectors.clear();
    mObjects.clear();
}

void TGameSpace::DestroyObjects(bool deleteAll)
{
    for (auto& object : mObjects) object->DestroyContents();
    // The references point into children that are gone now.
    mEffectorRefs.clear();
    if (deleteAll) mObjects.clear();
}

bool TGameSpace::LoadFromXml(const std::string& /*path*/) { return false; }

int TGameSpace::LoadResources(int mode)
{
    const uint32_t start = SDL_GetTicks();
    LoadObjectResources(mode);
    OpenSounds();
    GetLogger()->LogMessage("loadresource %s time  = %d", GetName().c_str(),
                            static_cast<int>(SDL_GetTicks() - start));
    return OnResourcesLoaded(mode);
}

void TGameSpace::UnloadResources()
{
    const uint32_t start = SDL_GetTicks();
    FreeObjectResources();
    StopShowSounds();
    CloseSounds();
    GetLogger()->LogMessage("unloadresource %s time  = %d", GetName().c_str(),
                            static_cast<int>(SDL_GetTicks() - start));
}

void TGameSpace::LoadObjectResources(int /*mode*/)
{
    if (mResourcesLoaded) return;
    int width = 0;
    int height = 0;
    for (auto& object : mObjects) {
        object->LoadResources();
        width = std::max(width, object->GetWidth());
        height = std::max(height, object->GetHeight());
    }
    if (mRectW == 0) mRectW = width;
    if (mRectH == 0) mRectH = height;
    mResourcesLoaded = true;
}

void TGameSpace::FreeObjectResources()
{
    for (auto& object : mObjects) object->FreeResources();
    mResourcesLoaded = false;
}

// The list registered under the space's name; the manager is not built for it.
void TGameSpace::OpenSounds()
{
    TSoundManager* sound = FindSoundManager();
    if (!sound) return;
    if (SharedPtr<TSoundPlayList> list = sound->FindSoundList(mSpaceName)) list->OpenStreams();
}

void TGameSpace::CloseSounds()
{
    TSoundManager* sound = FindSoundManager();
    if (!sound) return;
    if (SharedPtr<TSoundPlayList> list = sound->FindSoundList(mSpaceName)) list->CloseStreams();
}

void TGameSpace::ApplyFirstShowNames()
{
    if (mShowCount == 0 && mOwnerListener && !mRobjShow.empty()) mOwnerListener->ApplyRobj(&mRobjShow);
    if (mShowCount == 0 && mOwnerListener && !mCobjShow.empty()) mOwnerListener->ApplyCobj(&mCobjShow);
    if (mShowCount == 0 && mOwnerListener && !mAobjShow.empty()) mOwnerListener->ApplyAobj(&mAobjShow);
}

void TGameSpace::ApplyIndexedGroups(const TObjectRefList* const lists[6], const TStateRefList& states,
                                    const TFlagRefList& flags, int index)
{
    using TApply = void (TObjectListener::*)(const TObjectRefGroup*);
    static const TApply kApply[6] = {&TObjectListener::UnlockObjects, &TObjectListener::LockObjects,
                                     &TObjectListener::ShowObjects,   &TObjectListener::HideObjects,
                                     &TObjectListener::ActivateObjects, &TObjectListener::DeactivateObjects};
    TObjectListener* self = this;
    for (int i = 0; i < 6; ++i) {
        if (const TObjectRefGroup* group = GroupAt(*lists[i], index)) (self->*kApply[i])(group);
    }
    if (const auto* pairs = GroupAt(states, index)) {
        TUserInfo* profile = GetUserInfo();
        for (const TStateRef& pair : *pairs) profile->AddPair(pair.mFirst, pair.mSecond);
    }
    if (const auto* records = GroupAt(flags, index)) {
        for (const TFlagRef& record : *records) {
            if (IsGameEventSuppressed(record.mName)) continue;
            PostGameEvent(TGameEvent::FromRecord(record), false);
        }
    }
}

void TGameSpace::OnFirstShow()
{
    for (auto& object : mObjects) object->OnSpaceFirstShown();
    if (mOwnerListener) mOwnerListener->OnSpaceFirstShown(this);
}

void TGameSpace::OnShow()
{
    if (mShowCount == 0) OnFirstShow();
    ApplyFirstShowNames();
    for (auto& object : mObjects) object->OnSpaceShown();
    // The count stops at the end of the int range; a saved state may start it anywhere.
    if (mShowCount < INT_MAX) ++mShowCount;
    const int index = mFreeze ? 0 : ClampToInt(static_cast<long long>(mShowCount) - 1);
    const TObjectRefList* const lists[6] = {&mUnlockShow,  &mLockShow,     &mVisibleShow,
                                            &mHideShow,    &mActivateShow, &mDeactivateShow};
    ApplyIndexedGroups(lists, mStatesShow, mFlagsShow, index);
    PlaySound(mShowSound);
    PlayShowSounds();
    if (mOwnerListener) mOwnerListener->OnSpaceShown(this);
}

int TGameSpace::OnHide()
{
    for (auto& effect : mEffects) effect.reset();
    PlaySound(mHideSound);
    for (auto& object : mObjects) object->OnSpaceHidden();
    // Before any show this is -1, which applies nothing.
    const int index = mFreezeHide ? 0 : ClampToInt(static_cast<long long>(mShowCount) - 1);
    const TObjectRefList* const lists[6] = {&mUnlockHide,  &mLockHide,     &mVisibleHide,
                                            &mHideHide,    &mActivateHide, &mDeactivateHide};
    ApplyIndexedGroups(lists, mStatesHide, mFlagsHide, index);
    const int stopped = StopShowSounds();
    return mOwnerListener ? mOwnerListener->OnSpaceHidden(this) : stopped;
}

void TGameSpace::CloseMiniGame()
{
    mClosed = true;
    PostGameEvent(TGameEvent("closeminigame", 150, ""), false);
    GetUserInfo()->AddPair("GSD", mSpaceName);
    if (mOwnerListener) mOwnerListener->OnMiniGameClosed(this);
    ApplyFirstShowNames();
}

bool TGameSpace::ShowHint()
{
    mHintUsed = true;
    return false;
}

bool TGameSpace::Update(float dt)
{
    mOffsetTweenY.Update(dt);
    mOffsetTweenX.Update(dt);
    mOffsetX = mOffsetTweenX.mCurrent;
    mOffsetY = mOffsetTweenY.mCurrent;
    if (mOwnEffector) mOwnEffector->Update(dt);
    if (mUpdateObjects) {
        for (auto& object : mObjects) object->Update(dt);
    }
    for (auto& effect : mEffects) {
        if (!effect) continue;
        effect->Update(dt);
        if (effect->IsDone()) effect.reset();
    }
    return false;
}

void TGameSpace::DrawObjectsOfLayer(int layer)
{
    TClipScope clip(mClipX, mClipY, mClipW, mClipH);
    for (auto& object : mObjects) {
        if (object->mLayer == layer) object->Draw(1.0f);
    }
}

void TGameSpace::Draw() { DrawObjectsOfLayer(0); }

void TGameSpace::DrawLayer1() { DrawObjectsOfLayer(1); }

void TGameSpace::DrawLayer2() { DrawObjectsOfLayer(2); }

void TGameSpace::DrawHintEffect()
{
    if (mEffects[2]) mEffects[2]->Draw(1.0f);
}

// The point is tested as given, tool in hand or not.
TObject* TGameSpace::ObjectAt(int flag, int x, int y)
{
    for (auto it = mObjects.rbegin(); it != mObjects.rend(); ++it) {
        TObject* object = it->get();
        if (!object->HitTest(x, y, flag != 0)) continue;
        if (!object->mHitDescendant || object->mIgnoreSubObjects) return object;
        return object->mHitDescendant;
    }
    return nullptr;
}

TObject* TGameSpace::GetObjectAt(int x, int y) { return ObjectAt(1, x, y); }

TObject* TGameSpace::GetObjectAtForClick(int x, int y) { return ObjectAt(1, x, y); }

bool TGameSpace::OnMouseDown(const TSceneMouseEvent& event)
{
    mPressedObject = nullptr;
    mCurrentTool = event.mTool;
    for (auto it = mObjects.rbegin(); it != mObjects.rend(); ++it) {
        TObject* object = it->get();
        if (!HasUsesLeft(*object)) continue;
        if (object->OnMouseDown(event)) {
            mPressedObject = object;
            return true;
        }
    }
    return false;
}

bool TGameSpace::OnMouseMove(const TSceneMouseEvent& event)
{
    mCurrentTool = event.mTool;
    bool handled = false;
    bool taken = false;
    for (auto it = mObjects.rbegin(); it != mObjects.rend(); ++it) {
        if ((*it)->OnMouseMove(event, handled)) taken = true;
    }
    return taken;
}

bool TGameSpace::OnMouseUp(const TSceneMouseEvent& event)
{
    for (auto it = mObjects.rbegin(); it != mObjects.rend(); ++it) {
        if ((*it)->OnMouseUp(event)) return true;
    }
    return false;
}

TObject* TGameSpace::TopmostFlaggedObject() const
{
    for (auto it = mObjects.rbegin(); it != mObjects.rend(); ++it) {
        if ((*it)->mHovered) return it->get();
    }
    return nullptr;
}

bool TGameSpace::GetCursorName(int x, int y, std::string& name)
{
    TObject* object = GetObjectAt(x, y);
    if (!object || !object->IsVisible() || object->mLocked) {
        name.clear();
        return false;
    }
    if (!object->mCursorName.empty()) {
        name = object->mCursorName;
        return true;
    }
    const bool usesLeft = !object->IsLastAllowedUse();
    if (usesLeft && !object->mToolRecords.empty()) {
        name = "active";
    } else if (usesLeft && !object->mNeededTools.empty()) {
        name = "tool";
    } else if (!object->mPocket.empty() || !object->mMinigame.empty() || !object->mRoomXo.empty() ||
               !object->mDialog.empty()) {
        name = "glass";
    } else {
        name.clear();
    }
    return true;
}

TObject* TGameSpace::FindObjectNeedingTool(const std::string& toolName) const
{
    for (const auto& object : mObjects) {
        if (TObject* found = object->FindObjectNeedingTool(toolName)) return found;
    }
    return nullptr;
}

TEffector* TGameSpace::GetEffector(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= mEffectors.size()) return nullptr;
    return mEffectors[static_cast<size_t>(index)].get();
}

TObject* TGameSpace::FindObject(const std::string& name) const
{
    for (const auto& object : mObjects) {
        if (object->GetName() == name) return object.get();
        if (TObject* child = object->FindChild(name)) return child;
    }
    return nullptr;
}

bool TGameSpace::ContainsPoint(int x, int y) const
{
    return mRectX <= x && x < static_cast<long long>(mRectX) + mRectW && mRectY <= y &&
           y < static_cast<long long>(mRectY) + mRectH;
}

void TGameSpace::BroadcastHookC(int value)
{
    for (auto& object : mObjects) object->ChildrenHookC(value);
}

void TGameSpace::BroadcastHookD(int value)
{
    for (auto& object : mObjects) object->ChildrenHookD(value);
}

void TGameSpace::BindEffectors()
{
    // Through the virtual lookup: a pocket's objects bind to its room's effectors.
    const int count = GetEffectorCount();
    for (auto& object : mObjects) {
        for (int i = 0; i < count; ++i) object->BindEffector(GetEffector(i));
    }
}

TObject* TGameSpace::FindOwnerObject(const TObject* object) const
{
    for (const auto& top : mObjects) {
        for (const auto& child : top->mChildren) {
            if (child.get() == object) return top.get();
        }
    }
    for (const auto& top : mObjects) {
        if (top->FindParentOf(object)) return top.get();
    }
    return nullptr;
}

void TGameSpace::SetObjectsListener(TObjectListener* listener)
{
    for (auto& object : mObjects) object->SetListener(listener);
}

void TGameSpace::CollectHintables(std::vector<TObject*>& collector)
{
    for (auto& object : mObjects) object->CollectHintables(collector);
}

bool TGameSpace::FindToolGivers(const std::vector<TObject*>& objects, std::vector<TObject*>& givers)
{
    for (TObject* wanted : objects) {
        givers.push_back(nullptr);
        if (wanted->mToolRecords.empty()) continue;
        // A tool nobody has gives nothing: no object is asked about it.
        TTool* tool = FindGlobalTool(wanted->mToolRecords.front().mToolName);
        if (!tool) continue;
        for (auto& object : mObjects) {
            if (object->HasToolUse() && object->AcceptsTool(tool)) {
                givers.back() = object.get();
                break;
            }
            givers.back() = object->FindChildAcceptingTool(tool);
        }
    }
    return !givers.empty();
}

bool TGameSpace::FindInventoryToolForHint(const std::vector<TObject*>& objects, int& objectIndex, int& slot)
{
    TInventoryPanel* panel = GetAppState().mInventoryPanel;
    if (!panel) return false;
    for (int i = 0; i < panel->SlotCount(); ++i) {
        TTool* tool = panel->SlotAt(i)->GetTool();
        if (!tool) continue;
        for (size_t k = 0; k < objects.size(); ++k) {
            if (objects[k] && objects[k]->AcceptsTool(tool)) {
                objectIndex = static_cast<int>(k);
                slot = i;
                return true;
            }
        }
    }
    return false;
}

void TGameSpace::CollectToolsToOpen(std::vector<std::string>& names) const
{
    for (const auto& object : mObjects) {
        if (!object->IsLocked()) object->CollectNeededTools(names, true);
    }
}

// The base space applies none of these itself: its owner does, and without one they are
// dropped.

bool TGameSpace::RunCommands(const TToolRecordList* records, TObject* object, float delay)
{
    if (mOwnerListener) mOwnerListener->RunCommands(records, object, delay);
    return false;
}

void TGameSpace::UnlockObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->UnlockObjects(group);
}

void TGameSpace::LockObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->LockObjects(group);
}

void TGameSpace::ActivateObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->ActivateObjects(group);
}

void TGameSpace::DeactivateObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->DeactivateObjects(group);
}

void TGameSpace::ShowObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->ShowObjects(group);
}

void TGameSpace::HideObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->HideObjects(group);
}

void TGameSpace::ApplyEffList(const TObjectRefGroup* group, TObject* object)
{
    if (mOwnerListener) mOwnerListener->ApplyEffList(group, object);
}

void TGameSpace::ApplyEffsList(const TObjectRefGroup* group, TObject* object)
{
    if (mOwnerListener) mOwnerListener->ApplyEffsList(group, object);
}

// The owner's task and name-list operations take the list only.
void TGameSpace::AddTasks(const TNameGroup* tasks, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->AddTasks(tasks);
}

void TGameSpace::RemoveTasks(const TNameGroup* tasks, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->RemoveTasks(tasks);
}

void TGameSpace::ApplyAobj(const TNameGroup* names, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->ApplyAobj(names);
}

void TGameSpace::ApplyRobj(const TNameGroup* names, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->ApplyRobj(names);
}

void TGameSpace::ApplyCobj(const TNameGroup* names, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->ApplyCobj(names);
}

TGameSpace* TSpacesRegistry::FindSpace(const std::string& name) const
{
    if (name.empty()) return mCurrent;
    for (TGameSpace* space : mSpaces) {
        if (space && space->mSpaceName == name) return space;
    }
    return nullptr;
}

void TSpacesRegistry::StartCollectionEffect(int /*x*/, int /*y*/, const std::string& /*picture*/, float /*scale*/,
                                            const std::string& message, int /*points*/, const std::string& /*itemId*/)
{
    if (TMyMessageManager* messages = GetMessageManager()) messages->Post(message, 0.0f);
}
