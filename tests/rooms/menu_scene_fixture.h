// The main menu's room read from the shipped assets with the real object factory, and its
// objects found by id and kind.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

#include "core/app_state.h"
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
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
    }
    void TearDown() override
    {
        if (TSoundManager* sound = GetSoundManager()) sound->RemoveSoundList("mainmenu");
        GetAppState().mObjectFactory = std::move(mOldFactory);
        CanvasTest::TearDown();
    }
    TOwned<TObjectFactory> mOldFactory;
};

// The object of that id, which must be of exactly that kind.
template <class Kind>
Kind* FindMenuObject(TRoom& room, const char* id)
{
    TObject* object = room.FindObject(id);
    EXPECT_NE(nullptr, object) << id;
    if (!object) return nullptr;
    EXPECT_EQ(typeid(Kind), typeid(*object)) << id;
    return dynamic_cast<Kind*>(object);
}
