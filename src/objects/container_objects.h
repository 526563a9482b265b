// Containers and the hover and click objects: invisible groups that pass the mouse to their
// children, a group brought to the top, a clock with its hands, buttons, shutters and dialogs.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/static_image.h"
#include "graphics/trajectories.h"
#include "objects/object.h"

class TCadrObject;

// The invisible container whose mouse handling goes to its children; the base of every
// container kind of the other files. A press, motion or release is first the container's own
// (as a plain object), then the children's from the topmost (last) down; the first child that
// takes it ends the walk. A hidden container passes nothing on.
class TTransparentObject : public TObject {
public:
    ~TTransparentObject() override;
    int GetTypeCode() const override { return 40; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    bool OnMouseDrag(const TSceneMouseEvent& event) override;

protected:
    // The press routing with the container's own answer kept apart: the child that took the
    // press, or null when none did (a hidden container offers it to none).
    TObject* RoutePress(const TSceneMouseEvent& event, bool* ownTaken);
    // Children from the last to the first until one takes the event; null when none does.
    template <class Offer>
    TObject* OfferTopmostFirst(Offer offer)
    {
        for (size_t i = mChildren.size(); i-- > 0;) {
            if (i >= mChildren.size()) continue;  // a child's handler may shrink the list
            TObject* child = mChildren[i].get();
            if (offer(*child)) return child;
        }
        return nullptr;
    }
};

// A container that hands its hints, messages and cursor to its children at load and passes
// visibility, locking and activation on to them.
class TGroupObject : public TTransparentObject {
public:
    ~TGroupObject() override;
    void SetVisible(bool visible) override;
    int GetTypeCode() const override { return 42; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void OnLoaded() override;
    void Activate(int count, int x, int y) override;
    void Unlock() override;
    void Lock() override;
    void CollectHintables(std::vector<TObject*>& collector) override;
};

// A group that runs its event reactions once every child has been used up.
class TFoudedGroupObject : public TGroupObject {
public:
    ~TFoudedGroupObject() override;
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    // Every child at its last allowed use (no children: complete).
    bool AllChildrenUsedUp() const;
};

// A container whose pressed child comes to the top.
class TBringToTopObject : public TTransparentObject {
public:
    ~TBringToTopObject() override;
    int GetTypeCode() const override { return 41; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
};

// Gives every event to itself and then to all its children, first to last.
class TMouseEventsGroup : public TObject {
public:
    ~TMouseEventsGroup() override;
    int GetTypeCode() const override { return 55; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    bool OnMouseDrag(const TSceneMouseEvent& event) override;
};

// Lights its first child (the highlight) while the pointer is over it; selectable ones keep it
// lit after a click.
class TMouseEnterObject : public TObject {
public:
    ~TMouseEnterObject() override;
    void Draw(float alphaFactor) override;
    int GetTypeCode() const override { return 84; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnLoaded() override;
    void OnMouseEnter(int x, int y) override;
    void OnMouseLeave(int x, int y) override;
    bool OnClickAccepted(const TSceneMouseEvent& event) override;

    bool mSelected = false;
    bool mSelectable = false;
    bool mOver = false;  // the pointer is over it (its own, apart from the hover of object input)

private:
    void ShowHighlight(bool visible);
};

// A clock face: complete when every hand (a child clock arrow) is set.
class TClockObject : public TObject {
public:
    ~TClockObject() override;
    int GetTypeCode() const override { return 21; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool HitTest(int x, int y, bool respectLock) override;
    bool HasToolUse() const override;
    bool AcceptsTool(TTool* tool) override;

    bool mClockClickEnabled = true;
    bool mKeepOrder = false;
    int32_t mLastTurningHand = -1;  // the index of the hand that took the last motion

private:
    bool PressWithTool(const TSceneMouseEvent& event, bool hit);
    bool PressWithoutTool(const TSceneMouseEvent& event, bool hit);
    bool AllHandsSet() const;
    bool AllChildrenHadTool() const;
    void Complete(const TSceneMouseEvent& event);
};

// A button drawn with one picture, another while it is held down.
class TClickButtonObject : public TObject {
public:
    ~TClickButtonObject() override;
    void Draw(float alphaFactor) override;
    int GetTypeCode() const override { return 75; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    void LoadResources() override;
    void FreeResources() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool HitTestSelf(int x, int y) override;

    // The picture shown now: the pressed one while held.
    StaticImage& CurrentImage() { return mPressed ? *mPressedImage : *mNormalImage; }

    std::unique_ptr<StaticImage> mNormalImage = std::make_unique<StaticImage>();
    std::unique_ptr<StaticImage> mPressedImage = std::make_unique<StaticImage>();
    bool mPressed = false;
};

// A shutter that slides aside when activated and then lets its ball ("sh_ball") fall.
class TShutterObject : public TObject {
public:
    enum Phase { kIdle = 0, kSliding = 1, kFalling = 2, kFinished = 3 };

    ~TShutterObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 34; }
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void OnSpaceShown() override;
    void Activate(int count, int x, int y) override;
    bool IsMovable() const override { return true; }

    TCadrObject* mBall = nullptr;  // not owned; found at every show
    TLineMover mMover;
    int32_t mShutterOffset = 0;
    int32_t mBallOffset = 0;
    int32_t mPhase = kIdle;
};

// Clicks itself whenever its space is shown, once armed by an activation.
class TDialogObject : public TObject {
public:
    ~TDialogObject() override;
    int GetTypeCode() const override { return 56; }
    void LoadState(TBaseBuffer& buffer) override;
    void SaveState(TBaseBuffer& buffer) override;
    void OnSpaceShown() override;
    void Activate(int count, int x, int y) override;

    bool mArmed = false;
};
