// The shipped main menu's scene on a canvas: the shipped assets, texts and curves (as the
// start-up loads them), a fresh object factory, and a typed look-up of its objects by id.
#pragma once
#include <gtest/gtest.h>

#include <typeinfo>

#include "core/app_state.h"
#include "core/localization.h"
#include "graphics/trajectories.h"
#include "graphics/drawing_fixture.h"
#include "objects/object_factory.h"
#include "rooms/room.h"
#include "sound/sound_manager.h"

class MenuSceneTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
        ASSERT_TRUE(GetLocalization()->Load("termins.xml"));
        ASSERT_TRUE(GetTrajectoryList().Load("trajectories.dat"));
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
    }
    void TearDown() override
    {
        if (TSoundManager* sound = GetSoundManager()) sound->RemoveSoundList("mainmenu");
        GetTrajectoryList().Clear();
        GetAppState().mObjectFactory = std::move(mOldFactory);
        CanvasTest::TearDown();
    }
    // The shipped menu read into the room, its pictures loaded and shown once, as the menu does.
    static void ShowShippedMenu(TRoom& room)
    {
        ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
        room.LoadObjectResources(0);
        room.mShowRequest = true;
        room.OnShow();
    }
    TOwned<TObjectFactory> mOldFactory;
};

// The object of that id, which must be of that kind exactly.
template <class Kind>
Kind* FindKind(TRoom& room, const char* id)
{
    TObject* object = room.FindObject(id);
    EXPECT_NE(nullptr, object) << id;
    if (!object) return nullptr;
    EXPECT_EQ(typeid(Kind), typeid(*object)) << id;
    return dynamic_cast<Kind*>(object);
}
