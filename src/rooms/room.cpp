#include "rooms/room.h"

#include <SDL.h>
#include <tinyxml.h>

#include <algorithm>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "graphics/clip_scope.h"
#include "graphics/render_origin.h"
#include "objects/infrared_objects.h"
#include "objects/movie_objects.h"
#include "objects/object.h"
#include "rooms/effector.h"
#include "rooms/game_event.h"
#include "rooms/ghost_catcher_tool.h"
#include "rooms/hopa_user_info.h"
#include "rooms/inventory_panel.h"
#include "rooms/pocket.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tip_panel.h"
#include "rooms/tool.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"
#include "ui/window_manager.h"

namespace {

const int kGhostTypeCode = 22;
const int kInfraredTypeCode = 23;
const int kAnimFileTypeCode = 39;

// Where the lens lies: at the point less the tool's hot spot, or centred on the point when the
// tool has none.
TFloatRect LensAt(int px, int py, const TTool& tool, const StaticImage& lens)
{
    TFloatRect rect;
    rect.w = static_cast<float>(lens.GetWidth());
    rect.h = static_cast<float>(lens.GetHeight());
    const TIntPoint hot = tool.GetHotSpot();
    if (hot.x == 0 && hot.y == 0) {
        rect.x = px - rect.w / 2;
        rect.y = py - rect.h / 2;
    } else {
        rect.x = static_cast<float>(px - hot.x);
        rect.y = static_cast<float>(py - hot.y);
    }
    return rect;
}

TFloatRect RectOf(const TObject& object)
{
    TFloatRect rect;
    object.GetRect(&rect.x, &rect.y, &rect.w, &rect.h);
    return rect;
}

bool Overlaps(const TFloatRect& lens, const TFloatRect& object)
{
    return !(object.x >= lens.x + lens.w || object.y >= lens.y + lens.h || lens.x >= object.x + object.w ||
             lens.y >= object.y + object.h);
}

int32_t TruncatedOffset(float value) { return ClampToInt(static_cast<long long>(value)); }

}  // namespace

TFloatRect RectIntersect(const TFloatRect& a, const TFloatRect& b)
{
    TFloatRect r;
    const float left = std::max(a.x, b.x);
    const float right = std::min(a.x + a.w, b.x + b.w);
    const float top = std::max(a.y, b.y);
    const float bottom = std::min(a.y + a.h, b.y + b.h);
    if (right - left < 0.0f || bottom - top < 0.0f) return r;
    r.x = left;
    r.y = top;
    r.w = right - left;
    r.h = bottom - top;
    return r;
}

// ---- TBaseRoom ----

TBaseRoom::TBaseRoom() = default;

TBaseRoom::~TBaseRoom()
{
    TGameSpace::Clear(true);
    DestroyObjects(true);
    mCurrentList = nullptr;
    mLists.clear();
    mOverlay.DeleteAll();
}

ItemsList* TBaseRoom::GetCurrentList()
{
    const bool inside = mCurrentListIndex != -1 && mCurrentListIndex >= 0 &&
                        static_cast<size_t>(mCurrentListIndex) < mLists.size();
    mCurrentList = inside ? mLists[mCurrentListIndex].get() : nullptr;
    return mCurrentList;
}

// ---- The room as the listener of its items lists.
void TBaseRoom::OnListComplete(ItemsList* list)
{
    if (!list) return;
    const TObjectRefList* const lists[6] = {&list->mUnlock, &list->mLock,     &list->mVisible,
                                            &list->mHide,   &list->mActivate, &list->mDeactivate};
    ApplyIndexedGroups(lists, TStateRefList(), TFlagRefList(), 0);
    TObjectListener* self = this;
    if (!list->mTasks.empty()) self->AddTasks(&list->mTasks.front(), nullptr);
    if (!list->mTasksRemove.empty()) self->RemoveTasks(&list->mTasksRemove.front(), nullptr);
    const TObjectRefList none;
    const TObjectRefList* const noLists[6] = {&none, &none, &none, &none, &none, &none};
    ApplyIndexedGroups(noLists, list->mStates, list->mFlags, 0);
}

void TRoom::OnItemFound(const TObjectToolRecord& record)
{
    if (mOwnerListener) mOwnerListener->OnListToolFound(record);
}
// ---- End of the items-list answers.

bool TBaseRoom::Update(float dt)
{
    TGameSpace::Update(dt);
    if (mOwnerListener) mOwnerListener->OnRoomFrame(AsRoom());
    for (size_t i = 0; i < mObjects.size(); ++i) {
        TObject* object = mObjects[i].get();
        switch (object->GetTypeCode()) {
        case kGhostTypeCode: {
            auto* ghost = static_cast<TGhostObject*>(object);
            UpdateUnderLens(ghost, ghost, nullptr, dt);
            break;
        }
        case kInfraredTypeCode: {
            auto* infrared = static_cast<TInfraredObject*>(object);
            UpdateUnderLens(infrared, infrared, infrared, dt);
            break;
        }
        default:
            object->Update(dt);
        }
    }
    if (ItemsList* list = GetCurrentList()) {
        if (!list->GetItems().empty()) list->CheckFound(dt);
    }
    mOverlay.Update(dt);
    return false;
}

// The ghost catcher in hand reveals the object when its lens, shown where the inventory shows
// the tool, lies over it: the object is then updated. Otherwise its lens is cleared and it is
// left as it is this frame. A ghost goes by the slot of any ghost catcher, an infrared object
// by the slot of the tool in hand.
void TBaseRoom::UpdateUnderLens(TObject* object, TLensTarget* target, TInfraredObject* infrared, float dt)
{
    TTool* tool = mCurrentTool;
    TInventoryPanel* panel = GetAppState().mInventoryPanel;
    auto* catcher = tool && tool->GetType() == TGhostCatcherTool::kType ? dynamic_cast<TGhostCatcherTool*>(tool) : nullptr;
    StaticImage* lens = catcher ? catcher->GetShapeImage() : nullptr;
    if (panel && lens) {
        TInventorySlot* slot = infrared ? panel->FindSlotOfTool(tool) : panel->FindGhostCatcherSlot();
        if (slot && (!infrared || slot->mInHand)) {
            const TFloatRect area = LensAt(slot->mX, slot->mY, *tool, *lens);
            const TFloatRect rect = RectOf(*object);
            if (Overlaps(area, rect)) {
                if (infrared) {
                    const TFloatRect revealed = RectIntersect(rect, area);
                    infrared->mRevealedX = revealed.x;
                    infrared->mRevealedY = revealed.y;
                    infrared->mRevealedW = revealed.w;
                    infrared->mRevealedH = revealed.h;
                }
                target->SetLens(TruncatedOffset(rect.x - area.x), TruncatedOffset(rect.y - area.y),
                                lens->GetTexturePtr());
                object->Update(dt);
                target->mLensActive = true;
                return;
            }
        }
    }
    target->ClearLens();
    target->mLensActive = false;
}

bool TBaseRoom::GhostSeenAtPointer(const TObject* ghost) const
{
    TTool* tool = mCurrentTool;
    if (!tool || tool->GetType() != TGhostCatcherTool::kType) return false;
    StaticImage* cursor = tool->GetCursorImage();
    TGameCursors* cursors = GetGameCursors();
    if (!cursor) return false;
    return Overlaps(LensAt(cursors->MouseX(), cursors->MouseY(), *tool, *cursor), RectOf(*ghost));
}

void TBaseRoom::Draw()
{
    {
        TClipScope clip(mClipX, mClipY, mClipW, mClipH);
        for (const auto& object : mObjects) {
            if (object->mLayer != 0) continue;
            if (object->GetTypeCode() == kGhostTypeCode && !GhostSeenAtPointer(object.get())) continue;
            object->Draw(1.0f);
        }
    }
    // The clip goes, whatever the caller had set.
    if (SDL_Renderer* renderer = GetRenderer()) SDL_RenderSetClipRect(renderer, nullptr);
    for (int i = 0; i < 2; ++i) {
        if (mEffects[i]) mEffects[i]->Draw(1.0f);
    }
    mOverlay.Draw();
}

void TBaseRoom::OnShow()
{
    TGameSpace::OnShow();
    mCurrentTool = nullptr;
    GetGameCursors()->SelectDefault();
    // The overlay owns its entries: the marker taken out of it goes for good.
    if (DrawObject* marker = mOverlay.FindReservedName()) {
        mOverlay.Remove(marker);
        delete marker;
    }
}

int TBaseRoom::OnHide()
{
    if (mShowCount == 1) {
        if (THopaBaseUserInfo* profile = GetHopaUserInfo()) {
            GetLogger()->LogMessage("==============  %s First Hide : %s =======================", GetName().c_str(),
                                    WideToMultiByte(profile->GetTimeText()).c_str());
        }
    }
    mHintText.clear();
    return TGameSpace::OnHide();
}

bool TBaseRoom::OnMouseDrag(const TSceneMouseEvent& event)
{
    for (size_t i = mObjects.size(); i-- > 0;) {
        if (mObjects[i]->OnMouseDrag(event)) return true;
    }
    return false;
}

void TBaseRoom::MoveBy(int dx, int dy)
{
    for (const auto& object : mObjects) object->MoveBy(dx, dy);
}

void TBaseRoom::NotifyOwner(int value)
{
    if (mOwnerListener) mOwnerListener->NotifyOwner(value);
}

void TBaseRoom::SaveObjectsBinary(TBaseBuffer& buffer)
{
    TGameSpace::SaveObjectsBinary(buffer);
    buffer.WriteString(mShowHintText);
}

void TBaseRoom::LoadObjectsBinary(TBaseBuffer& buffer)
{
    TGameSpace::LoadObjectsBinary(buffer);
    buffer.ReadString(mShowHintText);
}

void TBaseRoom::Signal()
{
    if (mOwnerListener) mOwnerListener->Signal();
}

void TBaseRoom::OnObjectMouseEnter(TObject* object, const TSceneMouseEvent& event)
{
    if (mOwnerListener) mOwnerListener->OnObjectMouseEnter(object, event);
}

void TBaseRoom::OnObjectMouseLeave(TObject* object, const TSceneMouseEvent& event)
{
    if (mOwnerListener) mOwnerListener->OnObjectMouseLeave(object, event);
}

void TBaseRoom::OnObjectMouseOver(TObject* object, const TSceneMouseEvent& event)
{
    if (mOwnerListener) mOwnerListener->OnObjectMouseOver(object, event);
}

void TBaseRoom::OnObjectMouseDown(TObject* object, const TSceneMouseEvent& event)
{
    if (mOwnerListener) mOwnerListener->OnObjectMouseDown(object, event);
}

// ---- TRoom ----

// The room updates its objects itself.
TRoom::TRoom()
{
    mUpdateObjects = false;
    mShowRequest = false;
    mCurrentTool = nullptr;
    mPressedObject = nullptr;
    mParentSpace = nullptr;
}

TRoom::~TRoom()
{
    TGameSpace::Clear(true);
    DestroyObjects(true);
    for (auto& pocket : mPockets) pocket->Clear(true);
    mOpenPocket = nullptr;
    mPockets.clear();
    mPocketShadow.reset();
    if (mRoomTools) mRoomTools->Clear();
    mRoomTools.reset();
}

bool TRoom::LoadFromXml(const std::string& path)
{
    mCurrentListIndex = 0;
    TiXmlElement* root = LoadXmlDocument(path);
    if (!root) {
        DeleteCurrentXmlDocument();
        return false;
    }
    mFilePath = path;
    TiXmlElement* common = root->FirstChildElement("Common");
    mToolsOpenPockets = GetAttrBool(common, "settoolstoopenpocketauto", mToolsOpenPockets);
    mBackHintX = GetAttrInt(common, "back_hint_x", 0);
    mBackHintY = GetAttrInt(common, "back_hint_y", 0);
    std::vector<std::string> animFiles;
    GetAttrList(common, "animfiles", ',', animFiles);
    // The anim files' documents belong to this call; the room file stays the current one.
    std::vector<std::unique_ptr<TiXmlDocument>> animDocuments;
    std::vector<TiXmlElement*> animRoots;
    for (const std::string& file : animFiles) {
        TiXmlDocument* document = nullptr;
        animRoots.push_back(LoadXmlFile(file, &document));
        animDocuments.emplace_back(document);
    }

    LoadAttributes(common);
    if (TiXmlElement* objects = root->FirstChildElement("Objects")) {
        LoadObjects(objects, nullptr);
        AssignAnimFiles(animRoots);
        SetObjectsListener(this);
    }
    LoadPockets(root->FirstChildElement("pockets"));
    if (!mObjects.empty()) mObjects.front()->mCheckOnlyBounds = true;

    if (TiXmlElement* lists = root->FirstChildElement("lists")) {
        std::vector<TiXmlElement*> elements;
        GetChildElements(lists, "list", elements);
        for (TiXmlElement* e : elements) {
            std::unique_ptr<ItemsList> list(new ItemsList());
            list->LoadXml(e);
            mLists.push_back(std::move(list));
        }
    }
    if (!mLists.empty()) {
        mCurrentListIndex = 0;
        mCurrentList = mLists.front().get();
        for (const auto& list : mLists) {
            list->BindObjects(mObjects);
            list->SetListener(this);
        }
        mListsPresent = true;
        MarkListObjects();
    }
    ResolveObjectRefs();

    GlobalToolsList().Load(root, true, GetRootName());
    if (TiXmlElement* globalTools = root->FirstChildElement("globaltools")) {
        mRoomTools.reset(new TToolsList());
        mRoomTools->Load(globalTools, false, "");
        if (mRoomTools->Empty()) {
            mRoomTools.reset();
        } else {
            for (const auto& tool : mRoomTools->mTools) tool->MarkSubToolUsed("");
        }
    }

    PlaceFrame(root);
    LoadSound(root);
    LoadEffectors(root);
    LoadItemsToFind(root);
    for (TiXmlElement* animRoot : animRoots) LoadEffectors(animRoot);
    BindEffectors();
    if (mToolsOpenPockets) CheckToolsToOpenPockets();
    OnFileLoaded();

    animDocuments.clear();
    DeleteCurrentXmlDocument();
    mOpenPocket = nullptr;
    return true;
}

void TRoom::LoadAttributes(TiXmlElement* common)
{
    TGameSpace::LoadAttributes(common);
    if (!common) return;
    mCloseFlag = GetAttrString(common, "closeflag", "");
    mToolName = GetAttrString(common, "tool", "");
    mSubToolName = GetAttrString(common, "subtool", "");
    mDuplicatedCursor = GetAttrBool(common, "duplicatedcursor", false);
    mShowSounds.clear();
    GetAttrList(common, "runsounds", ',', mShowSounds);
    mShowHintText = GetAttrString(common, "hint_on_show", mShowHintText.c_str());
    mHasLeft = GetAttrBool(common, "left", false);
    mHasTop = GetAttrBool(common, "top", false);
    mHasRight = GetAttrBool(common, "right", false);
    mLeftRoom = GetAttrString(common, "leftroom", "");
    mTopRoom = GetAttrString(common, "toproom", "");
    mRightRoom = GetAttrString(common, "rightroom", "");
    mLockToCloseNames.clear();
    GetAttrList(common, "objneedlockedtoclose", ',', mLockToCloseNames);
    mConnectedRooms.clear();
    GetAttrList(common, "connectedroomsformap", ',', mConnectedRooms);
    mCloseAfterAllToolsTaken = GetAttrBool(common, "closeafteralltoolstaken", false, "caatt");
    mCloseAfterUpdate = GetAttrBool(common, "closeafteralltoolstakenupdate", false);
}

void TRoom::AssignAnimFiles(const std::vector<TiXmlElement*>& animRoots)
{
    size_t next = 0;
    // The anim roots' objects are appended to the list: only those already there are walked.
    const size_t count = mObjects.size();
    for (size_t i = 0; i < count && next < animRoots.size(); ++i) {
        TObject* object = mObjects[i].get();
        if (object->GetTypeCode() == kAnimFileTypeCode) LoadObjects(animRoots[next++], object);
    }
    for (; next < animRoots.size(); ++next) LoadObjects(animRoots[next], nullptr);
}

void TRoom::MarkListObjects()
{
    for (const auto& object : mObjects) {
        if (object->mMaxClicks == TObject::kNoLimit) continue;
        for (const auto& list : mLists) {
            if (list->ContainsObject(object.get())) {
                object->mMaxClicks = 1;
                break;
            }
        }
    }
}

void TRoom::ResolveRefsOf(TObject* object)
{
    for (TObjectRefList& list : object->mReactions) {
        for (TObjectRefGroup& group : list) {
            for (TObjectRef& ref : group) {
                if (!ref.mOuter.empty() || !ref.mInner.empty()) continue;
                ref.mOuter = mSpaceName;
                for (const auto& pocket : mPockets) {
                    if (pocket->FindObject(ref.mObject)) {
                        ref.mInner = pocket->mSpaceName;
                        break;
                    }
                }
            }
        }
    }
}

void TRoom::ResolveObjectRefs()
{
    for (const auto& object : mObjects) {
        ResolveRefsOf(object.get());
        for (const auto& child : object->mChildren) ResolveRefsOf(child.get());
    }
    for (const auto& pocket : mPockets) {
        for (const auto& object : pocket->mObjects) ResolveRefsOf(object.get());
    }
}

void TRoom::LoadPockets(TiXmlElement* element)
{
    if (!element) return;
    std::vector<TiXmlElement*> elements;
    GetChildElements(element, "pocket", elements);
    for (TiXmlElement* e : elements) {
        std::unique_ptr<TPocket> pocket(
            CreatePocket(GetAttrString(e, "name", ""), GetAttrString(e, "type", "")));
        pocket->LoadAttributes(e);
        pocket->mParentSpace = this;
        pocket->mStateKey = pocket->GetFullKey();
        pocket->mDataFolder = mDataFolder;
        GetLogger()->LogDebug("Load pocket %s", pocket->mSpaceName.c_str());
        pocket->LoadObjects(e, nullptr);
        if (pocket->mBoxObjectName.empty() && !pocket->mObjects.empty())
            pocket->mBoxObjectName = pocket->mObjects.front()->GetName();
        if (TObject* box = pocket->FindObject(pocket->mBoxObjectName)) {
            if (pocket->mRectX == 0) pocket->mRectX = TruncToInt(box->GetX());
            if (pocket->mRectY == 0) pocket->mRectY = TruncToInt(box->GetY());
            if (pocket->mRectW == 0) pocket->mRectW = box->GetWidth();
            if (pocket->mRectH == 0) pocket->mRectH = box->GetHeight();
        }
        pocket->mLoadedX = pocket->mRectX;
        pocket->mLoadedY = pocket->mRectY;
        pocket->mLoadedW = pocket->mRectW;
        pocket->mLoadedH = pocket->mRectH;
        pocket->PlaceFrame(e);
        pocket->SetObjectsListener(pocket.get());
        pocket->LoadPockets(e);
        pocket->mOwnerRoom = this;
        pocket->OnFileLoaded();
        mPockets.push_back(std::move(pocket));
    }
}

TPocket* TRoom::CreatePocket(const std::string& name, const std::string& type)
{
    // The application's factory builds the kinds it knows; every other pocket is a plain one.
    TPocketFactory* factory = GetAppState().mPocketFactory;
    TPocket* pocket = factory ? factory->Create(type) : nullptr;
    if (!pocket) pocket = new TPocket();
    pocket->mSpaceName = name;
    pocket->SetName(name);
    return pocket;
}

TPocket* TRoom::FindPocket(const std::string& name)
{
    for (const auto& pocket : mPockets) {
        if (TPocket* found = pocket->FindPocket(name)) return found;
    }
    return nullptr;
}

void TRoom::ReleasePocketResources()
{
    for (const auto& pocket : mPockets) {
        pocket->ReleasePocketResources();
        pocket->TGameSpace::FreeObjectResources();
    }
}

void TRoom::SetListener(TGameSpaceListener* owner)
{
    mOwnerListener = owner;
    for (const auto& pocket : mPockets) pocket->SetListener(owner);
}

void TRoom::ClearPockets(bool deleteAll)
{
    for (const auto& pocket : mPockets) pocket->Clear(deleteAll);
    if (!deleteAll) return;
    mOpenPocket = nullptr;
    mPockets.clear();
}

void TRoom::Clear(bool deleteAll)
{
    TGameSpace::Clear(deleteAll);
    DestroyObjects(deleteAll);
    ClearPockets(deleteAll);
}

void TRoom::LoadObjectResources(int mode)
{
    if (mResourcesLoaded) return;
    TGameSpace::LoadObjectResources(mode);
    for (const auto& pocket : mPockets) {
        if (pocket->mLoadWithOwner) pocket->LoadObjectResources(0);
    }
    GlobalToolsList().LoadResources(true, GetRootName());
    if (mRoomTools) {
        for (const auto& tool : mRoomTools->mTools) tool->LoadResources();
    }
    for (const auto& list : mLists) list->LoadResources();
    mLockToCloseObjects.clear();
    for (const std::string& name : mLockToCloseNames) {
        if (TObject* object = FindObject(name)) mLockToCloseObjects.push_back(object);
    }
    mResourcesLoaded = true;
}

void TRoom::FreeObjectResources()
{
    if (!mResourcesLoaded) return;
    TGameSpace::FreeObjectResources();
    ReleasePocketResources();
    for (const auto& list : mLists) list->FreeResources();
    GlobalToolsList().FreeResources(true, GetName());
    if (mRoomTools) {
        for (const auto& tool : mRoomTools->mTools) tool->FreeResources();
    }
    mResourcesLoaded = false;
}

void TRoom::OnFirstShow()
{
    TGameSpace::OnFirstShow();
    CheckToolsToOpenMinigames();
    mSavedFlagB = false;
}

void TRoom::OnShow()
{
    TBaseRoom::OnShow();
    const long long index = mFreeze ? 0 : static_cast<long long>(mShowCount) - 1;
    if (mOwnerListener && index >= 0) {
        const size_t at = static_cast<size_t>(index);
        if (at < mTasks.size()) AddTasks(&mTasks[at], nullptr);
        if (at < mTasksShowRemove.size()) RemoveTasks(&mTasksShowRemove[at], nullptr);
    }
    // Rooms follow their music rule, pockets leave the music alone, other spaces stop it.
    // After the sound shutdown there is no music to start or stop.
    const int type = GetSpaceType();
    if (TSoundManager* sound = GetSoundManager()) {
        if (type == kSpaceRoom || type == 16) {
            const bool anyway =
                mAnywayStartMusicAfterShowCount > 0 && mShowCount >= mAnywayStartMusicAfterShowCount;
            if (mStartMusicNow || anyway) {
                if (!mMusic.empty()) sound->PlayMusic(mMusic.front());
            } else if (mStopPrevMusic) {
                sound->StopAllMusic();
            }
        } else if (type != kSpacePocket) {
            sound->StopAllMusic();
        }
    }
    mHintText.clear();
    if (GetAppState().mTipPanel) ShowTip(mShowHintText, 0.0f);
    HighlightObjects(GetAppState().mHighlightOnShow ? 1 : 0);
}

int TRoom::OnHide()
{
    ClosePocket(1);
    mOpenPocket = nullptr;
    mPocketShadow.reset();
    return TBaseRoom::OnHide();
}

bool TRoom::Update(float dt)
{
    TBaseRoom::Update(dt);
    if (mPocketShadow) mPocketShadow->Update(dt);
    if (mOpenPocket) mOpenPocket->Update(dt);
    RunCloseChecks();
    return false;
}

void TRoom::Draw()
{
    if (mOwnEffector && mOwnEffector->mPlay) {
        TRenderOrigin().SetRenderOriginChained(0.0f, 0.0f, 1.0f, 1.0f);
        SetRenderOrigin(mX, mY, mScaleX, mScaleY);
        TBaseRoom::Draw();
        ResetRenderOrigin();
    } else {
        TBaseRoom::Draw();
    }
    if (mPocketShadow) mPocketShadow->Draw();
    if (mOpenPocket) mOpenPocket->Draw();
}

void TRoom::DrawLayer1()
{
    TGameSpace::DrawLayer1();
    if (mOpenPocket) mOpenPocket->DrawLayer1();
}

void TRoom::DrawHintEffect()
{
    if (mEffects[2]) mEffects[2]->Draw(1.0f);
    for (const auto& pocket : mPockets) pocket->DrawHintEffect();
}

bool TRoom::OnMouseDown(const TSceneMouseEvent& event)
{
    if (mInputDisabled) return false;
    if (mClipW > 0 && (event.mX < mClipX || event.mX >= static_cast<long long>(mClipX) + mClipW ||
                       event.mY < mClipY || event.mY >= static_cast<long long>(mClipY) + mClipH))
        return false;
    mHintText.clear();
    if (mOpenPocket) {
        const bool took = mOpenPocket->OnMouseDown(event);
        mHintText = mOpenPocket->mHintText;
        if (took) return true;
        PostGameEvent(TGameEvent("undoneclosepocket", 100, ""), false);
        return false;
    }
    TObject* object = GetObjectAt(event.mX, event.mY);
    const bool answer = TGameSpace::OnMouseDown(event);
    if (object) mHintText = object->GetHintText(event);
    return answer;
}

bool TRoom::OnMouseMove(const TSceneMouseEvent& event)
{
    if (mInputDisabled) return false;
    if (mOpenPocket) return mOpenPocket->OnMouseMove(event);
    return TGameSpace::OnMouseMove(event);
}

bool TRoom::OnMouseUp(const TSceneMouseEvent& event)
{
    if (mInputDisabled) return false;
    const bool answer = (mOpenPocket && mOpenPocket->OnMouseUp(event)) || TGameSpace::OnMouseUp(event);
    if (TObject* object = GetObjectAtForClick(event.mX, event.mY)) mHintText = object->GetHintText(event);
    return answer;
}

bool TRoom::GetCursorName(int x, int y, std::string& name)
{
    if (mInputDisabled) return false;
    if (mOpenPocket && mOpenPocket->GetCursorName(x, y, name)) return true;
    return TGameSpace::GetCursorName(x, y, name);
}

TObject* TRoom::FindObject(const std::string& name) const
{
    if (TObject* object = TGameSpace::FindObject(name)) return object;
    for (const auto& pocket : mPockets) {
        if (TObject* object = pocket->FindObject(name)) return object;
    }
    return nullptr;
}

TObject* TRoom::GetObjectAt(int x, int y)
{
    return mOpenPocket ? mOpenPocket->GetObjectAt(x, y) : TGameSpace::GetObjectAt(x, y);
}

TObject* TRoom::GetObjectAtForClick(int x, int y)
{
    return mOpenPocket ? mOpenPocket->GetObjectAtForClick(x, y) : TGameSpace::GetObjectAtForClick(x, y);
}

TObject* TRoom::TopmostFlaggedObject() const
{
    return mOpenPocket ? mOpenPocket->TopmostFlaggedObject() : TGameSpace::TopmostFlaggedObject();
}

void TRoom::BindEffectors()
{
    TGameSpace::BindEffectors();
    for (const auto& pocket : mPockets) pocket->BindEffectors();
}

void TRoom::MoveBy(int dx, int dy)
{
    if (dx != 0 || dy != 0) TBaseRoom::MoveBy(dx, dy);
    for (const auto& pocket : mPockets) pocket->MoveBy(pocket->mRectX, pocket->mRectY);
}

void TRoom::SaveObjectsHook()
{
    for (const auto& object : mObjects) object->OnRoomNotify();
    for (const auto& pocket : mPockets) pocket->SaveObjectsHook();
}

void TRoom::SaveState(TBaseBuffer& buffer)
{
    TGameSpace::SaveState(buffer);
    buffer.WriteByte(mSavedFlagA ? 1 : 0);
    buffer.WriteByte(mSavedFlagB ? 1 : 0);
    buffer.WriteInt32(mShowCount);
    buffer.WriteInt32(mCurrentListIndex);
    SaveObjectsBinary(buffer);
    for (const auto& pocket : mPockets) {
        TBaseBuffer record;
        pocket->SaveState(record);
        buffer.WriteBuffer(record);
    }
}

void TRoom::LoadState(TBaseBuffer& buffer)
{
    TGameSpace::LoadState(buffer);
    const bool savedFlagA = buffer.ReadByte() != 0;
    const bool savedFlagB = buffer.ReadByte() != 0;
    const int32_t showCount = buffer.ReadInt32();
    const int32_t listIndex = buffer.ReadInt32();
    // Every show counts one up: a count no player reaches is a damaged record.
    if (showCount < 0 || showCount > kMaxShowCount) {
        GetLogger()->LogMessage("room %s: saved state refused (show count %d)", mSpaceName.c_str(),
                                static_cast<int>(showCount));
    } else {
        mSavedFlagA = savedFlagA;
        mSavedFlagB = savedFlagB;
        mShowCount = showCount;
        mCurrentListIndex = listIndex;
    }
    LoadObjectsBinary(buffer);
    for (const auto& pocket : mPockets) {
        TBaseBuffer record;
        buffer.ReadBuffer(record);
        pocket->LoadState(record);
    }
}
