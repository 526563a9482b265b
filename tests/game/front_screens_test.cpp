// The pause window: built from its shipped layout, deaf to clicks, closed by a space.
#include "game/front_screens.h"

#include "ui/dialog_fixture.h"

namespace {

class PauseWindowTest : public DialogTest {};

TEST_F(PauseWindowTest, CoversTheScreenAndClosesOnlyOnSpaceOrEscape)
{
    struct TCase {
        int32_t character;
        bool closes;
    };
    const TCase cases[] = {{'a', false}, {13, false}, {32, true}, {27, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.character);
        TPauseWindow pause;
        EXPECT_EQ(pause.mId, kPauseWindowId);
        EXPECT_EQ(pause.GetWidth(), 1366);
        EXPECT_EQ(pause.GetHeight(), 768);
        pause.OnTextInput(c.character);
        EXPECT_EQ(pause.mClosed, c.closes);
        if (c.closes) {
            EXPECT_EQ(pause.mResultCode, 0);
        }
    }
}

TEST_F(PauseWindowTest, EveryChildIsDisabled)
{
    TPauseWindow pause;
    ASSERT_EQ(pause.mChildren.size(), 2u);
    for (TMyWindow* child : pause.mChildren) EXPECT_TRUE(child->mDisabled);
}

}  // namespace
