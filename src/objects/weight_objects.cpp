#include "objects/weight_objects.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "rooms/game_space.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"

namespace {
const char* const kNeedBalance = "WeightNeedBalance";
constexpr float kHalfTurn = 3.1415927f;

// An object with a size of its own answers its position and size, else its children's union.
void OwnOrChildrenRect(const TObject& object, float* x, float* y, float* w, float* h)
{
    if (object.mWidth != 0.0f || object.mHeight != 0.0f) {
        object.TObject::GetRect(x, y, w, h);
        return;
    }
    object.GetChildrenRect(x, y, w, h);
}
}  // namespace

// ---- The scales ----

TWeightSystemObject::TWeightSystemObject()
{
    if (TMyMessageManager* manager = GetMessageManager()) manager->Subscribe(this, kNeedBalance);
}

TWeightSystemObject::~TWeightSystemObject()
{
    if (TMyMessageManager* manager = FindMessageManager()) manager->Unsubscribe(this);
}

void TWeightSystemObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mKeepOrder = GetAttrBool(e, "keeporder", mKeepOrder);
    mCheckCoords = GetAttrBool(e, "checkcoords", mCheckCoords);
    mGroup = GetAttrBool(e, "group", mGroup);
    mMaxAngle = GetAttrAngle(e, "maxangle", mMaxAngle / kDegToRad);
    mMaxWeightDif = GetAttrFloat(e, "maxweightdif", mMaxWeightDif);
    mArmLength = static_cast<float>(GetAttrInt(e, "sholder", static_cast<int>(mArmLength)));
    mCompleteValue = GetAttrFloat(e, "completevalue", mCompleteValue);
}

void TWeightSystemObject::FindPans()
{
    // Named children of another kind count as missing.
    if (!mLeft) mLeft = dynamic_cast<TWeightPartObject*>(FindChild("left"));
    if (!mRight) mRight = dynamic_cast<TWeightPartObject*>(FindChild("right"));
}

void TWeightSystemObject::LoadResources()
{
    TObject::LoadResources();
    mArrow = FindChild("arrow");
    mCover = FindChild("cover");
    mLeft = mRight = nullptr;
    FindPans();
    if (mLeft) mLeft->mCover = FindChild("coverleft");
    if (mRight) mRight->mCover = FindChild("coverright");
    Rebalance();
}

float TWeightSystemObject::GetTotalWeight()
{
    FindPans();
    float total = 0.0f;
    for (TWeightPartObject* pan : {mLeft, mRight}) {
        if (!pan) continue;
        pan->UpdateTotal();
        total += pan->mTotal;
    }
    return total;
}

void TWeightSystemObject::Rebalance()
{
    FindPans();
    float left = 0.0f, right = 0.0f;
    if (mLeft) {
        mLeft->UpdateTotal();
        left = mLeft->mTotal;
    }
    if (mRight) {
        mRight->UpdateTotal();
        right = mRight->mTotal;
    }
    float target = 0.0f;
    float time = 0.3f;
    if (left == 0.0f && right != 0.0f) {
        target = mMaxAngle;
    } else if (right == 0.0f && left != 0.0f) {
        target = -mMaxAngle;
    } else {
        if (mMaxWeightDif > 0.0f) {
            const float d = std::max(-mMaxWeightDif, std::min(mMaxWeightDif, left - right));
            target = -(d / mMaxWeightDif) * mMaxAngle;
        } else {
            // No difference to scale by: any difference tilts fully, as the rule does in the limit.
            target = left > right ? -mMaxAngle : (right > left ? mMaxAngle : 0.0f);
        }
        if (mBeam.mCurrent == target) return;
        time = std::fabs(mBeam.mCurrent - target) / mMaxAngle;
    }
    if (time > 0.0f)
        mBeam.Set(mBeam.mCurrent, target, time, true);
    else
        mBeam.SetValue(target);
}

void TWeightSystemObject::OnMessage(SharedPtr<TMyMessage> message)
{
    if (message && message->GetName() == kNeedBalance) Rebalance();
}

bool TWeightSystemObject::Update(float dt)
{
    mBeam.Update(dt);
    SetAngle(mBeam.mCurrent);
    if (mImage) mImage->SetAngle(mAngle);
    const float x = GetX();
    const float y = GetY();
    for (TObject* pinned : {mArrow, mCover})
        if (pinned) pinned->SetPosition(x - static_cast<float>(pinned->mTcx), y - static_cast<float>(pinned->mTcy), true);
    const float a = mAngle;
    if (mRight)
        mRight->SetPosition(x + std::cos(a) * mArmLength - mRight->mTcx, y + std::sin(a) * mArmLength - mRight->mTcy,
                            true);
    if (mLeft)
        mLeft->SetPosition(x + std::cos(a + kHalfTurn) * mArmLength - mLeft->mTcx,
                           y + std::sin(a + kHalfTurn) * mArmLength - mLeft->mTcy, true);
    const bool result = TObject::Update(dt);
    if (!mGoalReached && mBeam.mFinished && mCompleteValue != 0.0f && GetTotalWeight() == mCompleteValue) {
        mGoalReached = true;
        IncUseCounter(mToolCounter, mMaxToolUses);
        // Solved scales report as a use of no tool.
        OnToolAccepted(TSceneMouseEvent());
    }
    return result;
}

bool TWeightSystemObject::HasToolUse() const
{
    if (TObject::HasToolUse()) return true;
    for (const auto& child : mChildren)
        if (child->HasToolUse()) return true;
    return false;
}

bool TWeightSystemObject::AcceptsTool(TTool* tool)
{
    if (TObject::AcceptsTool(tool)) return true;
    for (size_t i = 0; i < mChildren.size(); ++i) {
        if (!mChildren[i]->AcceptsTool(tool)) continue;
        if (!mKeepOrder) return true;
        // An earlier pan still waiting for its own weight comes first.
        for (size_t j = 0; j < i; ++j) {
            TObject* earlier = mChildren[j].get();
            if (earlier->HasToolUse() && !earlier->mToolApplied && !earlier->AcceptsTool(tool)) return false;
        }
        return true;
    }
    return false;
}

void TWeightSystemObject::GetRect(float* x, float* y, float* w, float* h) const { OwnOrChildrenRect(*this, x, y, w, h); }

TObject* TWeightSystemObject::FindPanForTool(int x, int y)
{
    if (mChildren.empty()) return nullptr;
    if (!mCheckCoords) return mChildren.front().get();
    for (auto& child : mChildren)
        if (child->HitTestSelf(x, y)) return child.get();
    return nullptr;
}

bool TWeightSystemObject::DropWeight(TTool* tool, TObject* pan)
{
    TObject* weight = mOwnerSpace ? mOwnerSpace->FindObject(tool->GetId()) : nullptr;
    if (!weight) return true;
    TWeightPartObject* part = dynamic_cast<TWeightPartObject*>(pan);
    if (part && part->IsFull()) return false;
    // A weight that is the pan or holds it (the scales themselves, or a box around them)
    // would be cut off from the scene inside itself.
    if (weight == pan || weight->ContainsInTree(pan)) return false;
    // The holder lives where the weight does: a pocket's weight is held in the pocket.
    TGameSpace* home = weight->mOwnerSpace ? weight->mOwnerSpace : mOwnerSpace;
    TObject* holder = home->FindOwnerObject(weight);
    if (!holder) return true;
    if (TGameSpace* root = GetRootSpace()) root->PlaySound(mSoundTool);
    std::unique_ptr<TObject> moved = holder->RemoveChild(weight);
    if (!moved) return true;
    if (pan->AddChild(moved.get()))
        moved.release();
    else
        holder->AddChild(moved.release());
    if (TMyMessageManager* manager = GetMessageManager()) manager->Post(kNeedBalance, 0.0f);
    return true;
}

bool TWeightSystemObject::OnMouseDown(const TSceneMouseEvent& event)
{
    TTool* tool = event.mTool;
    FindPans();
    // A carried weight drops by the pans' rectangles, not by their pictures.
    for (TWeightPartObject* pan : {mLeft, mRight})
        if (pan) pan->mCheckOnlyBounds = tool != nullptr;
    if (!HitTest(event.mX, event.mY, true)) return false;
    if (tool) {
        if (HasToolUse()) {
            if (AcceptsTool(tool) && tool->IsUsedUp()) {
                TObject* pan = FindPanForTool(event.mX, event.mY);
                if (!pan) return false;
                if (IncUseCounter(pan->mToolCounter, pan->mMaxToolUses) && !DropWeight(tool, pan)) return false;
            } else {
                mWrongToolPressed = true;
            }
        }
    } else {
        TObject* child = FindChildAt(event.mX, event.mY, true);
        TObject* clicked = child ? child : this;
        if (IncUseCounter(clicked->mClickCounter, clicked->mMaxClicks)) clicked->OnClickAccepted(event);
    }
    if (mGroup) {
        for (size_t i = mChildren.size(); i-- > 0;) {
            if (i >= mChildren.size()) continue;
            if (mChildren[i]->OnMouseDown(event)) break;
        }
    }
    return true;
}

// ---- A pan ----

TWeightPartObject::~TWeightPartObject() = default;

void TWeightPartObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mMaxItems = GetAttrInt(e, "maxobj", mMaxItems);
    mPlateX = static_cast<float>(GetAttrInt(e, "platex", 0));
    mPlateY = static_cast<float>(GetAttrInt(e, "platey", 0));
    mPlateWidth = static_cast<float>(GetAttrInt(e, "platew", 0));
}

void TWeightPartObject::UpdateTotal()
{
    mTotal = 0.0f;
    for (const auto& child : mChildren)
        if (child->IsVisible()) mTotal += child->mTag;
}

void TWeightPartObject::ArrangeItems()
{
    float widths = 0.0f;
    for (const auto& child : mChildren) widths += child->mWidth;
    float x = static_cast<float>(TruncToInt(TruncToInt((mPlateWidth - widths) * 0.5f) + mPlateX));
    for (auto& child : mChildren) {
        child->mRefX = TruncToInt(x);
        child->mRefY = TruncToInt(mPlateY - child->mHeight);
        x += child->mWidth;
    }
}

void TWeightPartObject::PlaceItems()
{
    const float x = GetX() - static_cast<float>(mTcx);
    const float y = GetY();
    for (auto& child : mChildren)
        child->SetPosition(static_cast<float>(child->mRefX) + x, static_cast<float>(child->mRefY) + y, true);
}

void TWeightPartObject::SetPosition(float x, float y, bool moveChildren)
{
    TObject::SetPosition(x, y, moveChildren);
    PlaceItems();
    if (mCover)
        mCover->SetPosition(static_cast<float>(mTcx) + x - mCover->mTcx, static_cast<float>(mTcy) + y - mCover->mTcy,
                            true);
}

bool TWeightPartObject::AddChild(TObject* object)
{
    if (!TObject::AddChild(object)) return false;
    ArrangeItems();
    PlaceItems();
    return true;
}

void TWeightPartObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    ArrangeItems();
}

bool TWeightPartObject::InRect(int x, int y) const
{
    float rx = 0.0f, ry = 0.0f, rw = 0.0f, rh = 0.0f;
    GetRect(&rx, &ry, &rw, &rh);
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    return rx <= fx && fx < rx + rw && ry <= fy && fy < ry + rh;
}

bool TWeightPartObject::HitTestSelf(int x, int y) { return IsVisible() && mAlpha > 0.0f && InRect(x, y); }

bool TWeightPartObject::HitTest(int x, int y, bool respectLock)
{
    mHitDescendant = nullptr;
    for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it) {
        if (!(*it)->HitTest(x, y, respectLock)) continue;
        mHitDescendant = it->get();
        return true;
    }
    return InRect(x, y);
}

bool TWeightPartObject::AcceptsTool(TTool* tool)
{
    if (TObject::AcceptsTool(tool)) return true;
    for (auto& child : mChildren)
        if (child->AcceptsTool(tool)) return true;
    return false;
}

void TWeightPartObject::GetRect(float* x, float* y, float* w, float* h) const { OwnOrChildrenRect(*this, x, y, w, h); }

// ---- Linked weights ----

TConjunctWeightObject::~TConjunctWeightObject() = default;

void TConjunctWeightObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mForward = GetAttrBool(e, "inc", mForward);
    mMoveTime = GetAttrFloat(e, "mov_time", mMoveTime);
    mPositions.clear();
    GetAttrPointList(e, "ppos", mPositions);
    mLinkedNames.clear();
    GetAttrList(e, "objs", ',', mLinkedNames);
    mCurrent = GetAttrInt(e, "cpos", 0);
    if (mCurrent < 0 || static_cast<size_t>(mCurrent) >= mPositions.size()) mCurrent = 0;
}

void TConjunctWeightObject::LoadResources()
{
    TObject::LoadResources();
    if (mPositions.empty()) return;
    const TIntPoint& at = mPositions[static_cast<size_t>(mCurrent)];
    SetPosition(static_cast<float>(at.x), static_cast<float>(at.y), true);
}

void TConjunctWeightObject::OnSpaceShown()
{
    mLinked.clear();
    TGameSpace* root = GetRootSpace();
    if (!root) return;
    for (const std::string& name : mLinkedNames)
        if (auto* weight = dynamic_cast<TConjunctWeightObject*>(root->FindObject(name))) mLinked.push_back(weight);
}

bool TConjunctWeightObject::HitTestSelf(int x, int y) { return TObject::HitTestSelf(x, y) && !IsMoving(); }

void TConjunctWeightObject::Step()
{
    // One position has nowhere to step to.
    if (IsMoving() || mPositions.size() < 2) return;
    const int32_t last = static_cast<int32_t>(mPositions.size()) - 1;
    const TIntPoint from = mPositions[static_cast<size_t>(mCurrent)];
    if (mForward) {
        if (++mCurrent > last) {
            mCurrent = last - 1;
            mForward = false;
        }
    } else if (mCurrent == 0) {
        mCurrent = 1;
        mForward = true;
    } else {
        --mCurrent;
    }
    const TIntPoint& to = mPositions[static_cast<size_t>(mCurrent)];
    mMover->StartSegment(static_cast<float>(from.x), static_cast<float>(from.y), static_cast<float>(to.x),
                         static_cast<float>(to.y), mMoveTime, 0.0f, 0, false);
}

void TConjunctWeightObject::StepLinked()
{
    for (TConjunctWeightObject* weight : mLinked)
        if (!weight->IsMoving()) weight->Step();
}

bool TConjunctWeightObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (!TObject::OnMouseDown(event)) return false;
    Step();
    StepLinked();
    return true;
}

bool TConjunctWeightObject::Update(float dt)
{
    const bool result = TObject::Update(dt);
    if (IsMoving()) {
        mMover->Update(dt);
        SetPosition(mMover->mX, mMover->mY, true);
    }
    return result;
}

TConjunctWeightParentObject::~TConjunctWeightParentObject() = default;

void TConjunctWeightParentObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TTransparentObject::LoadXml(e, dataFolder);
    mCorrectPosition = GetAttrInt(e, "cor_pos", mCorrectPosition);
}

void TConjunctWeightParentObject::OnLoaded()
{
    TTransparentObject::OnLoaded();
    mWeights.clear();
    for (auto& child : mChildren)
        if (auto* weight = dynamic_cast<TConjunctWeightObject*>(child.get())) mWeights.push_back(weight);
}

bool TConjunctWeightParentObject::AllAtCorrectPosition() const
{
    for (const TConjunctWeightObject* weight : mWeights)
        if (weight->mCurrent != mCorrectPosition) return false;
    return true;
}

bool TConjunctWeightParentObject::Update(float dt)
{
    const bool result = TTransparentObject::Update(dt);
    if (!IsLocked() && AllAtCorrectPosition()) {
        RunEventReactions(0);
        Lock();
        for (TConjunctWeightObject* weight : mWeights) weight->Lock();
    }
    return result;
}
