// The shipped main menu's scene as the game reads it: its assets, its texts and the game's
// object factory.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "core/app_state.h"
#include "core/localization.h"
#include "graphics/drawing_fixture.h"
#include "objects/object_factory.h"
#include "sound/sound_manager.h"

class ShippedMenuTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
        ASSERT_TRUE(GetLocalization()->Load("termins.xml"));
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
