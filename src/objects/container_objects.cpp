#include "objects/container_objects.h"

#include "objects/anim_objects.h"
#include "rooms/scene_mouse_event.h"

TTransparentObject::~TTransparentObject() = default;
TGroupObject::~TGroupObject() = default;
TFoudedGroupObject::~TFoudedGroupObject() = default;
TBringToTopObject::~TBringToTopObject() = default;
TMouseEventsGroup::~TMouseEventsGroup() = default;
TMouseEnterObject::~TMouseEnterObject() = default;
TClockObject::~TClockObject() = default;
TClickButtonObject::~TClickButtonObject() = default;
TShutterObject::~TShutterObject() = default;
TDialogObject::~TDialogObject() = default;

// --- the transparent container ---

bool TTransparentObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (!IsVisible()) return false;
    const bool own = TObject::OnMouseDown(event);
    if (OfferTopmostFirst([&event](TObject& child) { return child.OnMouseDown(event); })) return true;
    return own;
}

bool TTransparentObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    if (!IsVisible()) return false;
    const bool own = TObject::OnMouseMove(event, hoverTaken);
    if (OfferTopmostFirst([&](TObject& child) { return child.OnMouseMove(event, hoverTaken); })) return true;
    return own;
}

bool TTransparentObject::OnMouseUp(const TSceneMouseEvent& event)
{
    if (!IsVisible()) return false;
    const bool own = TObject::OnMouseUp(event);
    if (OfferTopmostFirst([&event](TObject& child) { return child.OnMouseUp(event); })) return true;
    return own;
}

bool TTransparentObject::OnMouseDrag(const TSceneMouseEvent& event)
{
    if (!IsVisible()) return false;
    return OfferTopmostFirst([&event](TObject& child) { return child.OnMouseDrag(event); }) != nullptr;
}

// --- groups ---

void TGroupObject::SetVisible(bool visible)
{
    TObject::SetVisible(visible);
    for (auto& child : mChildren) child->SetVisible(visible);
}

bool TGroupObject::OnMouseDown(const TSceneMouseEvent& event)
{
    const bool taken = TTransparentObject::OnMouseDown(event);
    // The "tool" cursor goes once the last tool use is made.
    if (taken && event.mTool != nullptr && mCursorName.empty() && IsLastAllowedUse())
        for (auto& child : mChildren) child->mCursorName.clear();
    return taken;
}

void TGroupObject::OnLoaded()
{
    for (auto& child : mChildren) {
        child->mHints = mHints;
        child->mLockedHints = mLockedHints;
        child->mToolHints = mToolHints;
        if (auto* group = dynamic_cast<TGroupObject*>(child.get())) group->mUseMessages = mUseMessages;
        child->mCursorName = mCursorName;
        if (!mNeededTools.empty() && mCursorName.empty()) child->mCursorName = "tool";
    }
}

void TGroupObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    for (auto& child : mChildren) child->Activate(count, x, y);
}

void TGroupObject::Unlock()
{
    TObject::Unlock();
    for (auto& child : mChildren) child->Unlock();
}

void TGroupObject::Lock()
{
    TObject::Lock();
    for (auto& child : mChildren) child->Lock();
}

void TGroupObject::CollectHintables(std::vector<TObject*>& collector)
{
    if (IsHintable() && !mChildren.empty()) collector.push_back(mChildren.front().get());
}

bool TFoudedGroupObject::AllChildrenUsedUp() const
{
    for (const auto& child : mChildren)
        if (!child->IsLastAllowedUse()) return false;
    return true;
}

bool TFoudedGroupObject::OnMouseDown(const TSceneMouseEvent& event)
{
    const bool taken = TGroupObject::OnMouseDown(event);
    if (AllChildrenUsedUp()) {
        RunEventReactions(0);
        ApplyFlags(0, mEventFlags);
        ApplyStates(0, mEventStates);
    }
    return taken;
}

// --- bring to top and the broadcasting group ---

bool TBringToTopObject::OnMouseDown(const TSceneMouseEvent& event)
{
    TObject::OnMouseDown(event);
    TObject* taker = OfferTopmostFirst([&event](TObject& child) { return child.OnMouseDown(event); });
    if (!taker) return false;
    for (size_t i = 0; i + 1 < mChildren.size(); ++i) {
        if (mChildren[i].get() != taker) continue;
        std::unique_ptr<TObject> moved = std::move(mChildren[i]);
        mChildren.erase(mChildren.begin() + static_cast<std::ptrdiff_t>(i));
        mChildren.push_back(std::move(moved));
        break;
    }
    return true;
}

bool TMouseEventsGroup::OnMouseDown(const TSceneMouseEvent& event)
{
    bool taken = TObject::OnMouseDown(event);
    for (size_t i = 0; i < mChildren.size(); ++i) taken = mChildren[i]->OnMouseDown(event) || taken;
    return taken;
}

bool TMouseEventsGroup::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    bool taken = TObject::OnMouseMove(event, hoverTaken);
    for (size_t i = 0; i < mChildren.size(); ++i) taken = mChildren[i]->OnMouseMove(event, hoverTaken) || taken;
    return taken;
}

bool TMouseEventsGroup::OnMouseUp(const TSceneMouseEvent& event)
{
    bool taken = TObject::OnMouseUp(event);
    for (size_t i = 0; i < mChildren.size(); ++i) taken = mChildren[i]->OnMouseUp(event) || taken;
    return taken;
}

bool TMouseEventsGroup::OnMouseDrag(const TSceneMouseEvent& event)
{
    bool taken = false;
    for (size_t i = 0; i < mChildren.size(); ++i) taken = mChildren[i]->OnMouseDrag(event) || taken;
    return taken;
}

// --- hover object ---

void TMouseEnterObject::ShowHighlight(bool visible)
{
    if (!mChildren.empty()) mChildren.front()->SetVisible(visible);
}

void TMouseEnterObject::Draw(float /*alphaFactor*/)
{
    if (mSelectable && !mOver) ShowHighlight(mSelected);
    TObject::Draw(1.0f);
}

void TMouseEnterObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
}

void TMouseEnterObject::OnLoaded() { ShowHighlight(mOver); }

void TMouseEnterObject::OnMouseEnter(int x, int y)
{
    TObject::OnMouseEnter(x, y);
    mOver = true;
    ShowHighlight(true);
}

void TMouseEnterObject::OnMouseLeave(int x, int y)
{
    TObject::OnMouseLeave(x, y);
    mOver = false;
    ShowHighlight(false);
}

bool TMouseEnterObject::OnClickAccepted(const TSceneMouseEvent& event)
{
    if (mSelectable) mSelected = !mSelected;
    return TObject::OnClickAccepted(event);
}

// --- clock face ---

bool TClockObject::OnMouseDown(const TSceneMouseEvent& event) { return TObject::OnMouseDown(event); }
bool TClockObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    return TObject::OnMouseMove(event, hoverTaken);
}
bool TClockObject::OnMouseUp(const TSceneMouseEvent& event) { return TObject::OnMouseUp(event); }
void TClockObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
}
bool TClockObject::HitTest(int x, int y, bool respectLock) { return TObject::HitTest(x, y, respectLock); }
bool TClockObject::HasToolUse() const { return TObject::HasToolUse(); }
bool TClockObject::AcceptsTool(TTool* tool) { return TObject::AcceptsTool(tool); }
bool TClockObject::PressWithTool(const TSceneMouseEvent&, bool hit) { return hit; }
bool TClockObject::PressWithoutTool(const TSceneMouseEvent&, bool hit) { return hit; }
bool TClockObject::AllHandsSet() const { return false; }
bool TClockObject::AllChildrenHadTool() const { return false; }
void TClockObject::Complete(const TSceneMouseEvent&) {}

// --- push button ---

void TClickButtonObject::Draw(float /*alphaFactor*/) { TObject::Draw(1.0f); }
bool TClickButtonObject::OnMouseDown(const TSceneMouseEvent& event) { return TObject::OnMouseDown(event); }
bool TClickButtonObject::OnMouseUp(const TSceneMouseEvent& event) { return TObject::OnMouseUp(event); }
void TClickButtonObject::LoadResources() { TObject::LoadResources(); }
void TClickButtonObject::FreeResources() { TObject::FreeResources(); }
void TClickButtonObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
}
bool TClickButtonObject::HitTestSelf(int x, int y) { return TObject::HitTestSelf(x, y); }

// --- shutter ---

bool TShutterObject::Update(float dt) { return TObject::Update(dt); }
void TShutterObject::LoadState(TBaseBuffer& buffer) { TObject::LoadState(buffer); }
void TShutterObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
}
void TShutterObject::SaveState(TBaseBuffer& buffer) { TObject::SaveState(buffer); }
void TShutterObject::OnSpaceShown() { TObject::OnSpaceShown(); }
void TShutterObject::Activate(int count, int x, int y) { TObject::Activate(count, x, y); }

// --- dialog object ---

void TDialogObject::LoadState(TBaseBuffer& buffer) { TObject::LoadState(buffer); }
void TDialogObject::SaveState(TBaseBuffer& buffer) { TObject::SaveState(buffer); }
void TDialogObject::OnSpaceShown() { TObject::OnSpaceShown(); }
void TDialogObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    mArmed = true;
}
