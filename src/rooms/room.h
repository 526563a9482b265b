// Rooms: location scenes loaded from a room file. A room owns its scene objects, updates
// them itself, draws its first layer inside its clip rectangle and plays its show sounds and
// music when it is shown. The main menu keeps one behind its buttons.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/objects_manager.h"
#include "rooms/game_space.h"

class TiXmlElement;
class TObject;

struct TFloatRect {
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
};

// The overlap of two rectangles; all four values 0 when they do not meet.
TFloatRect RectIntersect(const TFloatRect& a, const TFloatRect& b);

class TBaseRoom : public TGameSpace {
public:
    TBaseRoom();
    ~TBaseRoom() override;

    int GetSpaceType() const override { return kSpaceRoom; }
    bool Update(float dt) override;
    void Draw() override;

    // The "Common" element: the room's name (also its drawing name), folder, clip, show
    // sounds and music.
    void LoadAttributes(TiXmlElement* common) override;
    // Builds the "object" children of the element through the application's object factory
    // (plain objects without one), below the parent when there is one.
    void LoadObjects(TiXmlElement* element, TObject* parent) override;

    ObjectsManager mOverlay;  // drawn over the objects; owns its entries
};

class TRoom : public TBaseRoom {
public:
    TRoom();
    ~TRoom() override;

    // A missing file leaves an empty room that draws nothing.
    bool LoadFromXml(const std::string& path) override;
    void LoadObjectResources(int mode) override;
    void FreeObjectResources() override;
    void OnShow() override;
    void OnFirstShow() override;

    bool mSavedFlagA = false;
    bool mSavedFlagB = true;  // cleared by the first show
};
