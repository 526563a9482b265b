// Pockets: close-up scenes of a room, described inside the room file and shown over it. A
// pocket grows out of the point it was opened from, dims the room behind it, draws its frame
// over its objects and records in the profile when it is hidden and finished.
#pragma once
#include <cfloat>
#include <cstdint>
#include <string>

#include "graphics/static_image.h"
#include "rooms/room.h"
#include "rooms/show_pocket_effector.h"

class TPocket : public TRoom {
public:
    // "Unset" start coordinates: the first opening gives them.
    static constexpr float kUnset = FLT_MAX;

    TPocket();

    int GetSpaceType() const override { return kSpacePocket; }
    // The room keys, then the pocket's own; the show and hide sounds have pocket defaults.
    void LoadAttributes(TiXmlElement* element) override;
    void OnShow() override;
    int OnHide() override;
    void Finish() override;
    void Draw() override;
    void LoadObjectResources(int mode) override;
    void FreeObjectResources() override;
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    // Only inside the pocket's rectangle; never passed on to the room.
    bool OnMouseMove(const TSceneMouseEvent& event) override;
    // Itself when it has the name, else the first of its own pockets that has it.
    TPocket* FindPocket(const std::string& name) override;
    // A pocket's objects run on its room's effectors.
    TEffector* GetEffector(int index) const override;
    int GetEffectorCount() const override;
    // Its own pockets stay where they are.
    void MoveBy(int dx, int dy) override { TBaseRoom::MoveBy(dx, dy); }
    // Moves the application's frame, when there is one, to its resting place plus the back
    // image offset plus the pocket's place.
    void PlaceFrame(TiXmlElement* element) override;
    // Zero components of the rectangle come from the visible objects' bounding box.
    void FitRectToObjects();
    // The show movement, when the pocket has one; null otherwise.
    TShowPocketEffector* GetShowEffector() const;
    // Hiding shrinks the pocket back, and it stays the room's open pocket until that ends.
    bool HasHideMovement() const { return GetShowEffector() && mDisappearTime > 0.0f; }

    int32_t mBackImageX = 0;
    int32_t mBackImageY = 0;
    std::string mBoxObjectName;
    TRoom* mOwnerRoom = nullptr;  // the room whose "pockets" element holds it; not owned
    float mStartX = kUnset;
    float mStartY = kUnset;
    bool mActivateShadow = true;
    StaticImage mFrameImage;
    bool mLoadWithOwner = false;  // its resources load with the owner room's
    float mAppearTime = 0.3f;
    float mDisappearTime = 0.3f;
};

// The application's builder of close-ups by their "type": a game shell with pockets of its
// own kinds installs one. The caller owns what it builds; null for a type it does not know.
class TPocketFactory {
public:
    virtual ~TPocketFactory() = default;
    virtual TPocket* Create(const std::string& type) = 0;
};
