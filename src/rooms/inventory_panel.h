// The inventory panel: the tools the player holds, the special ones in fixed slots and the
// others in a row of scrolling slots. The game never creates one; rooms ask it where a
// tool is shown.
#pragma once
#include <cstdint>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/tweens.h"

class TTool;

class TInventorySlot {
public:
    // A tool of type 1 pulses the slot endlessly; any other, or none, rests at 1.
    void SetTool(TTool* tool);
    TTool* GetTool() const { return mTool; }
    float GetScale() const { return mPulse.GetValue(); }

    TTool* mTool = nullptr;  // not owned
    PulseValue mPulse;
    int32_t mX = 0;  // where the slot shows its tool
    int32_t mY = 0;
    bool mInHand = false;  // its tool is taken into the hand
};

class TInventoryPanel {
public:
    virtual ~TInventoryPanel() = default;

    // Special tools to the fixed slots, the others to the scrolling slots from the first
    // visible one; marks the panel for redrawing.
    void Layout(bool scrollToEnd);
    TInventorySlot* FindSlotOfTool(const TTool* tool);
    // The first slot, scrolling before fixed, that holds a ghost catcher.
    TInventorySlot* FindGhostCatcherSlot();
    // -1 when the panel does not hold the tool; else the scrolling slot that shows it now.
    int ScrollToTool(const TTool* tool);
    // Slots counted scrolling first, then fixed, as the searches visit them; null outside.
    TInventorySlot* SlotAt(int index);
    int SlotCount() const { return static_cast<int>(mScrollSlots.size() + mFixedSlots.size()); }
    // Where the back arrow points when a room gives no place of its own.
    TIntPoint GetBackButtonCentre() const;

    std::vector<TTool*> mTools;  // in panel order; not owned
    std::vector<TInventorySlot> mFixedSlots;
    std::vector<TInventorySlot> mScrollSlots;
    int32_t mFirstVisible = 0;
    bool mNeedsRedraw = false;
    int32_t mBackButtonX = 0, mBackButtonY = 0, mBackButtonW = 0, mBackButtonH = 0;
};
