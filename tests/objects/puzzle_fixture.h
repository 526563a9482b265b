// Puzzle kinds loaded the way a space loads them, from "object" elements with the real
// factory, into a test space that traces the sounds it plays; a listener that tells the
// first and second reaction groups apart.
#pragma once
#include <tinyxml.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "objects/object_factory.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/test_space.h"
#include "rooms/sound_calls.h"
#include "objects/object_refs.h"
#include "objects/reaction_recorder.h"

// Objects give "vae" two groups naming "g0" and "g1": each run reports the name of its group.
class TGroupRecorder : public TObjectListener {
public:
    void ShowObjects(const TObjectRefGroup* group) override
    {
        mGroups.push_back(group && !group->empty() ? group->front().mObject : std::string("?"));
    }
    int Count(const std::string& name) const
    {
        int n = 0;
        for (const std::string& g : mGroups) n += g == name;
        return n;
    }
    std::vector<std::string> mGroups;
};

class PuzzleTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
        mSpace.mTrace = &mTrace;
        MakeFolder("pz");
    }
    void TearDown() override
    {
        mSpace.FreeObjectResources();
        mSpace.mObjects.clear();
        GetAppState().mObjectFactory = std::move(mOldFactory);
        CanvasTest::TearDown();
    }

    // Loads the elements as the space's own objects and hands every object the recorder.
    template <class Kind = TObject>
    Kind* Load(const std::string& xml)
    {
        TiXmlDocument doc;
        ParseXmlText(&doc, "<Objects>" + xml + "</Objects>");
        const size_t before = mSpace.mObjects.size();
        mSpace.LoadObjects(doc.RootElement(), nullptr);
        if (mSpace.mObjects.size() == before) return nullptr;
        TObject* object = mSpace.mObjects.back().get();
        object->SetListener(&mGroups);
        return dynamic_cast<Kind*>(object);
    }

    // The sounds the space played, in order.
    std::vector<std::string> SpaceSounds() const { return mTrace; }

    TTestSpace mSpace;
    std::vector<std::string> mTrace;
    TGroupRecorder mGroups;
    TOwned<TObjectFactory> mOldFactory;
};
