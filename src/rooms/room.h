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

    bool Update(float dt) override;
    virtual void Draw();

    // The "Common" element: the room's name (also its drawing name), folder, clip, show
    // sounds and music.
    virtual void LoadAttributes(TiXmlElement* common);
    // Builds the "object" children of the element through the application's object factory
    // (plain objects without one), below the parent when there is one.
    void LoadObjects(TiXmlElement* element, TObject* parent);
    TObject* FindObject(const std::string& name) const;

    std::vector<std::unique_ptr<TObject>> mObjects;
    std::string mFilePath;
    std::string mDataFolder;
    int32_t mClipX = 0, mClipY = 0, mClipW = 0, mClipH = 0;
    std::string mShowSound;
    std::vector<std::string> mRunSounds;
    std::string mMusic;
    bool mStartMusicNow = true;
    bool mStopPrevMusic = true;
    int32_t mAnywayStartMusicAfterShowCount = 0;
    int32_t mShowCount = 0;
    bool mShowRequest = false;
    bool mInputEnabled = true;
    bool mResourcesLoaded = false;
    ObjectsManager mOverlay;  // drawn over the objects; owns its entries
};

class TRoom : public TBaseRoom {
public:
    TRoom();
    ~TRoom() override;

    // A missing file leaves an empty room that draws nothing.
    virtual bool LoadFromXml(const std::string& path);
    virtual void LoadObjectResources(int mode);
    virtual void FreeObjectResources();
    virtual void OnShow();
    virtual void OnFirstShow();

    bool mSavedFlagA = false;
    bool mSavedFlagB = true;  // cleared by the first show
};
