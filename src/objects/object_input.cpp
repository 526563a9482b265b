// How a scene object takes mouse input and tools.
#include <cstdint>

#include "objects/object.h"
#include "rooms/scene_mouse_event.h"

bool TObject::HitTest(int /*x*/, int /*y*/, bool /*respectLock*/)
{
    mHitDescendant = nullptr;
    mLastHit = false;
    return false;
}

bool TObject::OnMouseDown(const TSceneMouseEvent& /*event*/) { return false; }

bool TObject::OnMouseMove(const TSceneMouseEvent& /*event*/, bool& /*hoverTaken*/) { return false; }

bool TObject::OnMouseUp(const TSceneMouseEvent& /*event*/) { return false; }

bool TObject::OnMouseDrag(const TSceneMouseEvent& /*event*/) { return false; }

// In 64 bits: a limit of INT_MIN must not wrap.
bool TObject::IsLastAllowedUse() const
{
    if (!mNeededTools.empty()) return static_cast<int64_t>(mToolCounter) >= static_cast<int64_t>(mMaxToolUses) - 1;
    return static_cast<int64_t>(mClickCounter) >= static_cast<int64_t>(mMaxClicks) - 1;
}

bool TObject::HasToolUse() const
{
    return !mNeededTools.empty() || !mPocketTools.empty() || !mMinigameTools.empty();
}

bool TObject::AcceptsTool(TTool* /*tool*/) { return false; }

TObject* TObject::FindChildAcceptingTool(TTool* /*tool*/) { return nullptr; }

TObject* TObject::FindObjectNeedingTool(const std::string& /*toolName*/) { return nullptr; }

void TObject::CollectHintables(std::vector<TObject*>& /*collector*/) {}
