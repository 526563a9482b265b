// Whole-program test: the start-up loader leaves the real object factory in the application
// state, and shutdown frees it.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "audio_cases.h"
#include "game/startup_fixture.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/system.h"
#include "objects/object_factory.h"
#include "objects/sequence_objects.h"

namespace {

class GameStartupObjectFactory : public TGameStartupTest {};

TEST_F(GameStartupObjectFactory, LivesFromStartUpUntilShutdown)
{
    TAppState& app = GetAppState();
    ASSERT_FALSE(app.mObjectFactory);

    ASSERT_TRUE(InitGame());
    ASSERT_TRUE(app.mObjectFactory);
    std::unique_ptr<TObject> switcher(app.mObjectFactory->CreateObject("switcher"));
    EXPECT_NE(dynamic_cast<TSwitcherObject*>(switcher.get()), nullptr);
    switcher.reset();

    ReleaseGame();
    EXPECT_FALSE(app.mObjectFactory);

}

}  // namespace
