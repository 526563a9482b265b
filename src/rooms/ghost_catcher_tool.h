// The ghost catcher: the tool through which rooms reveal ghosts. For now it is a plain tool
// that answers its own type.
#pragma once
#include "rooms/tool.h"

class TGhostCatcherTool : public TTool {
public:
    static constexpr int kType = 3;
    int GetType() const override { return kType; }
};
