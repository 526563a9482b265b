// Rooms with close-ups for the reaction, pocket and hint tests: the hall of
// tests/data/rooms/pocket_room.xml or a room from a text, a fresh profile and event queue per
// test, a handler that records the events of value 0 and an owner that records what it is told.
#pragma once
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "game/user_info.h"
#include "graphics/drawing_fixture.h"
#include "objects/object.h"
#include "objects/object_factory.h"
#include "rooms/game_event.h"
#include "rooms/pocket.h"
#include "rooms/room.h"
#include "rooms/scene_listeners.h"
#include "rooms/tool.h"
#include "test_support.h"

struct TEventRecord {
    std::string mName;
    int mValue = 0;
    std::string mParameter;
};

class TEventRecorder : public TGameEventHandler {
public:
    void OnGameEvent(std::string name, TGameEvent event) override
    {
        mEvents.push_back({name, event.mValue, event.mParams[0]});
    }
    int Count(const std::string& name) const
    {
        int n = 0;
        for (const TEventRecord& e : mEvents) n += e.mName == name ? 1 : 0;
        return n;
    }
    std::vector<TEventRecord> mEvents;
};

class TReactionOwner : public TGameSpaceListener {
public:
    void OpenRoomAfterTool(const std::string& name, TRoom* room, int flag) override
    {
        mCalls.push_back("OpenRoomAfterTool " + name + " " + std::to_string(flag));
        mRoom = room;
    }
    void OpenRoomXoAfterTool(const std::string& name, TRoom* room) override
    {
        mCalls.push_back("OpenRoomXoAfterTool " + name);
        mRoom = room;
    }
    void OnToolApplied(TRoom* /*room*/, TObject* object, TTool* /*tool*/) override
    {
        mCalls.push_back("OnToolApplied " + object->GetName());
    }
    void OnRoomFinished(TRoom* room) override { mCalls.push_back("OnRoomFinished " + room->mSpaceName); }
    std::vector<std::string> mCalls;
    TRoom* mRoom = nullptr;
};

class PocketRoomTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
        GetUserInfo()->ResetDefaults();
        ClearGameEvents();
        SetGameEventHandler(&mEvents);
        const SDL_Color grey{128, 128, 128, 255};
        MakeFolder("textures");
        SolidPng("textures/pic.png", 8, 8, grey);
        SolidPng("frame.png", 8, 8, grey);
    }
    void TearDown() override
    {
        mRoom.reset();
        // The application's slots that a test filled point into the test.
        TAppState& app = GetAppState();
        app.mSpacesRegistry = nullptr;
        app.mInventoryPanel = nullptr;
        app.mFrameObject = nullptr;
        app.mPocketFactory = nullptr;
        app.mPlayerTools = nullptr;
        app.mHighlightOption = app.mHighlightOnShow = false;
        SetGameEventHandler(nullptr);
        ClearGameEvents();
        GlobalToolsList().Clear();
        GetAppState().mObjectFactory = std::move(mOldFactory);
        CanvasTest::TearDown();
    }

    // The hall of the test data.
    TRoom* Hall() { return Load(ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/rooms/pocket_room.xml")); }

    TRoom* Load(const std::string& xml)
    {
        std::ofstream(AssetPath("room.xml")) << xml;
        mRoom = std::make_unique<TRoom>();
        EXPECT_TRUE(mRoom->LoadFromXml("room.xml"));
        return mRoom.get();
    }

    TObject* Object(const std::string& name) const
    {
        TObject* object = mRoom->FindObject(name);
        EXPECT_NE(object, nullptr) << name;
        return object;
    }
    TPocket* Pocket(const std::string& name) const
    {
        TPocket* pocket = mRoom->FindPocket(name);
        EXPECT_NE(pocket, nullptr) << name;
        return pocket;
    }
    void Run(TRoom* room, float seconds, float step = 1.0f / 60.0f)
    {
        for (float t = 0.0f; t < seconds - step * 0.5f; t += step) room->Update(step);
    }
    // As the menu shows its room: resources, the show, then frames from none to a stall, each
    // updated and drawn on the canvas.
    static void ShowAndDraw(TRoom* room)
    {
        room->LoadObjectResources(0);
        room->mShowRequest = true;
        room->OnShow();
        Draw(room);
    }
    static void Draw(TRoom* room)
    {
        for (float dt : {0.0f, 0.016f, 0.1f, 1.0f}) {
            room->Update(dt);
            room->Draw();
        }
    }
    static bool HasPair(const std::string& key, const std::string& value)
    {
        return GetUserInfo()->HasPair(key, value);
    }
    static const TGameEvent* Pending(const std::string& name)
    {
        for (size_t i = 0; i < PendingGameEventCount(); ++i) {
            if (PendingGameEvent(i)->mName == name) return PendingGameEvent(i);
        }
        return nullptr;
    }

    TEventRecorder mEvents;
    TReactionOwner mOwner;
    std::unique_ptr<TRoom> mRoom;
    TOwned<TObjectFactory> mOldFactory;
};
