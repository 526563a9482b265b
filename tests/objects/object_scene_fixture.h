// Scene objects in trees and on a canvas: the test picture, children built by hand as a
// space's loader would nest them, and a kind that records what reaches it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/buffer.h"
#include "graphics/drawing_fixture.h"
#include "objects/object.h"
#include "objects/object_fixture.h"

// The child loads from its own element and gets the parent pointer a nested element gives.
template <class Kind = TObject>
Kind* NestChild(TObject& parent, const std::string& xml, TGameSpace* owner = nullptr)
{
    std::unique_ptr<Kind> child = LoadObjectFrom<Kind>(xml, "scene/", owner);
    child->mParentObject = &parent;
    Kind* raw = child.get();
    parent.AddChild(child.release());
    return raw;
}

inline std::string Bytes(const TBaseBuffer& buffer)
{
    return std::string(buffer.Bytes().begin(), buffer.Bytes().end());
}

class TRecordingObject : public TObject {
public:
    std::vector<std::string>* mLog = nullptr;
    std::vector<int> mHooks;

    void OnEffectorChannelFinished(int channel) override
    {
        if (mLog) mLog->push_back(GetName() + " " + std::to_string(channel));
    }
    void ChildrenHookC(int value) override
    {
        mHooks.push_back(value);
        TObject::ChildrenHookC(value);
    }
    void ChildrenHookD(int value) override
    {
        mHooks.push_back(1000 + value);
        TObject::ChildrenHookD(value);
    }
};

// Writes "scene/pic.png": 32 x 16, the left half opaque red, the right half opaque blue.
class SceneCanvasTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        MakeFolder("scene");
        SavePng("scene/pic.png", MakeSurface(32, 16, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                    return x < 16 ? SDL_Color{255, 0, 0, 255} : SDL_Color{0, 0, 255, 255};
                }));
    }
};
