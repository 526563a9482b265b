// Objects that run on their own, stepped in frames of 1/60 s inside a recording space: the
// space writes the sounds its objects play, the listener the reaction groups they run, and
// the sound manager's calls land in the same trace.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objects/object_fixture.h"
#include "objects/object_scene_fixture.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/test_space.h"
#include "sound/sound_manager.h"

constexpr float kStep = 1.0f / 60.0f;

// Groups are named by the test ("g0;g1"): each run writes "<list> <first name>".
class TGroupTrace : public TObjectListener {
public:
    explicit TGroupTrace(std::vector<std::string>& trace) : mTrace(trace) {}
    void ActivateObjects(const TObjectRefGroup* g) override { Record("activate", g); }
    void ShowObjects(const TObjectRefGroup* g) override { Record("show", g); }
    bool RunCommands(const TToolRecordList* records, TObject*, float) override
    {
        mTrace.push_back("commands " + std::to_string(records->size()));
        return true;
    }

private:
    void Record(const char* list, const TObjectRefGroup* g)
    {
        mTrace.push_back(std::string(list) + " " + (g && !g->empty() ? g->front().mObject : ""));
    }
    std::vector<std::string>& mTrace;
};

class SceneTimingTest : public SceneCanvasTest {
protected:
    void SetUp() override
    {
        SceneCanvasTest::SetUp();
        mSpace.mTrace = &mTrace;
        if (TSoundManager* manager = GetSoundManager()) manager->SetCallObserver(&mManager);
    }
    void TearDown() override
    {
        if (TSoundManager* manager = GetSoundManager()) manager->SetCallObserver(nullptr);
        SceneCanvasTest::TearDown();
    }

    // Read from the element inside the space, heard by the recorder.
    template <class Kind>
    std::unique_ptr<Kind> Load(const std::string& xml)
    {
        auto object = LoadObjectFrom<Kind>(xml, "scene/", &mSpace);
        object->SetListener(&mRecorder);
        return object;
    }

    static void Run(TObject& object, float seconds)
    {
        const int frames = static_cast<int>(seconds * 60.0f + 0.5f);
        for (int i = 0; i < frames; ++i) object.Update(kStep);
    }

    // A left press inside the object's drawn box.
    static bool Press(TObject& object)
    {
        TSceneMouseEvent event;
        event.mX = object.GetXInt() + 2;
        event.mY = object.GetYInt() + 2;
        event.mButton = 1;
        return object.OnMouseDown(event);
    }

    int Count(const std::string& line) const
    {
        int n = 0;
        for (const std::string& l : mTrace) n += l == line ? 1 : 0;
        return n;
    }

    struct TManagerCalls : TSoundCallObserver {
        explicit TManagerCalls(std::vector<std::string>& trace) : mTrace(trace) {}
        void OnSoundCall(const char* call, const std::string& id) override
        {
            mTrace.push_back(std::string("manager ") + call + " " + id);
        }
        std::vector<std::string>& mTrace;
    };

    std::vector<std::string> mTrace;
    TTestSpace mSpace;
    TGroupTrace mRecorder{mTrace};
    TManagerCalls mManager{mTrace};
};
