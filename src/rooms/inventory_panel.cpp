#include "rooms/inventory_panel.h"

#include <algorithm>

#include "core/numbers.h"
#include "rooms/ghost_catcher_tool.h"
#include "rooms/tool.h"

void TInventorySlot::SetTool(TTool* tool)
{
    mTool = tool;
    mPulse = PulseValue();
    if (tool && tool->GetType() == 1) {
        mPulse.mCycleLimit = -1;
        mPulse.Start(1.0f, 1.05f, 1.1f, 0.5f);
    } else {
        mPulse.mTween.SetValue(1.0f);
    }
}

namespace {

std::vector<TTool*> RegularTools(const std::vector<TTool*>& tools)
{
    std::vector<TTool*> regular;
    for (TTool* tool : tools) {
        if (tool && !tool->mSpecial) regular.push_back(tool);
    }
    return regular;
}

}  // namespace

void TInventoryPanel::Layout(bool scrollToEnd)
{
    std::vector<TTool*> special;
    for (TTool* tool : mTools) {
        if (tool && tool->mSpecial) special.push_back(tool);
    }
    const std::vector<TTool*> regular = RegularTools(mTools);
    if (scrollToEnd) {
        const long long first = static_cast<long long>(regular.size()) - static_cast<long long>(mScrollSlots.size());
        mFirstVisible = static_cast<int32_t>(std::max(0LL, first));
    }
    for (size_t i = 0; i < mFixedSlots.size(); ++i) mFixedSlots[i].SetTool(i < special.size() ? special[i] : nullptr);
    for (size_t i = 0; i < mScrollSlots.size(); ++i) {
        const long long index = static_cast<long long>(mFirstVisible) + static_cast<long long>(i);
        const bool shown = index >= 0 && index < static_cast<long long>(regular.size());
        mScrollSlots[i].SetTool(shown ? regular[static_cast<size_t>(index)] : nullptr);
    }
    mNeedsRedraw = true;
}

TInventorySlot* TInventoryPanel::FindSlotOfTool(const TTool* tool)
{
    if (!tool) return nullptr;
    for (auto* slots : {&mScrollSlots, &mFixedSlots}) {
        for (TInventorySlot& slot : *slots) {
            if (slot.mTool == tool) return &slot;
        }
    }
    return nullptr;
}

TInventorySlot* TInventoryPanel::FindGhostCatcherSlot()
{
    for (auto* slots : {&mScrollSlots, &mFixedSlots}) {
        for (TInventorySlot& slot : *slots) {
            if (slot.mTool && slot.mTool->GetType() == TGhostCatcherTool::kType) return &slot;
        }
    }
    return nullptr;
}

int TInventoryPanel::ScrollToTool(const TTool* tool)
{
    // Positions count among the tools of the scrolling slots only.
    const std::vector<TTool*> regular = RegularTools(mTools);
    const auto found = std::find(regular.begin(), regular.end(), tool);
    if (!tool || found == regular.end() || mScrollSlots.empty()) return -1;
    for (size_t i = 0; i < mScrollSlots.size(); ++i) {
        if (mScrollSlots[i].mTool == tool) return static_cast<int>(i);
    }
    const int index = static_cast<int>(found - regular.begin());
    const int slots = static_cast<int>(mScrollSlots.size());
    if (index < mFirstVisible) {
        mFirstVisible = index;
        Layout(false);
        return 0;
    }
    mFirstVisible = index - slots + 1;
    Layout(false);
    return slots - 1;
}

TInventorySlot* TInventoryPanel::SlotAt(int index)
{
    if (index < 0) return nullptr;
    const size_t at = static_cast<size_t>(index);
    if (at < mScrollSlots.size()) return &mScrollSlots[at];
    if (at - mScrollSlots.size() < mFixedSlots.size()) return &mFixedSlots[at - mScrollSlots.size()];
    return nullptr;
}

TIntPoint TInventoryPanel::GetBackButtonCentre() const
{
    TIntPoint centre;
    centre.x = ClampToInt(static_cast<long long>(mBackButtonX) + mBackButtonW / 2);
    centre.y = ClampToInt(static_cast<long long>(mBackButtonY) + mBackButtonH / 2);
    return centre;
}
