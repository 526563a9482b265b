// Pockets: close-up scenes of a room, described inside the room file and shown over it.
#pragma once
#include <string>

#include "rooms/room.h"
#include "rooms/show_pocket_effector.h"

class TPocket : public TRoom {
public:
    TPocket() { mCanShowBackHint = false; }

    int GetSpaceType() const override { return kSpacePocket; }
    // Itself when it has the name, else the first of its own pockets that has it.
    TPocket* FindPocket(const std::string& name) override;
    // Its own pockets stay where they are.
    void MoveBy(int dx, int dy) override { TBaseRoom::MoveBy(dx, dy); }

    TRoom* mOwnerRoom = nullptr;  // the room whose "pockets" element holds it; not owned
    bool mLoadWithOwner = false;  // its resources load with the owner room's
};
