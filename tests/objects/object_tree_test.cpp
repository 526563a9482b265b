// The scene object's tree, position, per-frame update, drawing and saved record.
#include <gtest/gtest.h>

#include "graphics/texture.h"
#include "log_watch.h"
#include "objects/object_scene_fixture.h"
#include "rooms/effector.h"
#include "rooms/test_space.h"
#include "test_support.h"

namespace {

TTestSpace* Named(TTestSpace& space, const std::string& name, TTestSpace* parent = nullptr)
{
    static_cast<DrawObject&>(space).SetName(name);
    space.mParentSpace = parent;
    return &space;
}

}  // namespace

TEST(SceneObjectTree, FindAddAndRemoveSearchTheWholeTree)
{
    std::unique_ptr<TObject> root = LoadObjectFrom("<object id='root'/>");
    TObject* drawer = NestChild(*root, "<object id='drawer'/>");
    TObject* deepLamp = NestChild(*drawer, "<object id='lamp'/>");
    TObject* lamp = NestChild(*root, "<object id='lamp'/>");

    EXPECT_EQ(root->FindChild("lamp"), deepLamp);  // first in child order, inside "drawer"
    EXPECT_EQ(root->FindChild("drawer"), drawer);
    EXPECT_EQ(root->FindChild("root"), nullptr);
    EXPECT_EQ(root->FindParentOf(deepLamp), drawer);
    EXPECT_EQ(root->FindParentOf(lamp), root.get());

    EXPECT_FALSE(root->AddChild(deepLamp));
    EXPECT_FALSE(root->AddChild(root.get()));
    EXPECT_EQ(root->mChildren.size(), 2u);

    std::unique_ptr<TObject> removed = root->RemoveChild(deepLamp);
    EXPECT_EQ(removed.get(), deepLamp);
    EXPECT_TRUE(drawer->mChildren.empty());
    EXPECT_EQ(removed->GetName(), "lamp");  // handed back, not deleted
    EXPECT_EQ(root->RemoveChild(deepLamp), nullptr);
    EXPECT_TRUE(root->AddChild(removed.release()));
    EXPECT_EQ(root->mChildren.back().get(), deepLamp);
}

TEST(SceneObjectTree, FullNameAndRootSpaceFollowTheEnclosingSpaces)
{
    TTestSpace hall, drawer;
    Named(hall, "hall");
    Named(drawer, "drawer", &hall);
    std::unique_ptr<TObject> lamp = LoadObjectFrom("<object id='lamp'/>", "scene/", &drawer);
    EXPECT_EQ(lamp->GetFullName(), "hall.drawer.lamp");
    EXPECT_EQ(lamp->GetRootSpace(), &hall);

    lamp->mOwnerSpace = nullptr;
    EXPECT_EQ(lamp->GetFullName(), "lamp");
    EXPECT_EQ(lamp->GetRootSpace(), nullptr);
}

TEST(SceneObjectTree, ListenerAndHooksReachEveryDescendant)
{
    TTestSpace space;
    std::unique_ptr<TObject> root = LoadObjectFrom("<object/>");
    TObject* child = NestChild(*root, "<object/>");
    TRecordingObject* grandchild = NestChild<TRecordingObject>(*child, "<object/>");
    root->SetListener(&space);
    EXPECT_EQ(grandchild->mListener, &space);
    root->ChildrenHookC(7);
    root->ChildrenHookD(8);
    EXPECT_EQ(grandchild->mHooks, (std::vector<int>{7, 1008}));
}

TEST(SceneObjectTree, EffectorBindsToEveryMatchingDescendantButNotBelowAMatch)
{
    TEffector effector;
    effector.mName = "E";
    std::unique_ptr<TObject> parent = LoadObjectFrom("<object/>");
    TObject* first = NestChild(*parent, "<object effector='E'/>");
    TObject* second = NestChild(*parent, "<object effector='E'/>");
    parent->BindEffector(&effector);
    EXPECT_EQ(parent->mEffector, nullptr);
    EXPECT_EQ(first->mEffector, &effector);
    EXPECT_EQ(second->mEffector, &effector);
    EXPECT_EQ(effector.mTarget, second);

    std::unique_ptr<TObject> matching = LoadObjectFrom("<object effector='E'/>");
    TObject* below = NestChild(*matching, "<object effector='E'/>");
    matching->BindEffector(&effector);
    EXPECT_EQ(below->mEffector, nullptr);
    EXPECT_EQ(effector.mTarget, matching.get());

    // An unnamed effector matches an object without the key.
    TEffector unnamed;
    std::unique_ptr<TObject> plain = LoadObjectFrom("<object/>");
    plain->BindEffector(&unnamed);
    EXPECT_EQ(plain->mEffector, &unnamed);
}

TEST(SceneObjectPosition, TransformCentreCentreOriginAndMoveBy)
{
    std::unique_ptr<TObject> centred = LoadObjectFrom("<object x='50' y='20' tcx='10' tcy='4'/>");
    EXPECT_FLOAT_EQ(centred->GetX(), 60.0f);
    centred->OnSpaceFirstShown();
    EXPECT_FLOAT_EQ(centred->GetX(), 50.0f);
    EXPECT_FLOAT_EQ(centred->GetY(), 20.0f);
    EXPECT_FLOAT_EQ(centred->mX, 40.0f);

    std::unique_ptr<TObject> box = LoadObjectFrom("<object x='10' y='30' w='40' h='20' scale='2'/>");
    box->CenterOrigin();
    EXPECT_EQ(box->mDrawType, 1);
    EXPECT_FLOAT_EQ(box->GetX(), 10.0f);
    EXPECT_FLOAT_EQ(box->GetY(), 30.0f);
    EXPECT_EQ(box->GetCenterX(), 50);

    // Moving by (5, 7) moves the object's stored position twice and every descendant's
    // three times; the reference point is taken between.
    std::unique_ptr<TObject> parent = LoadObjectFrom("<object x='10' y='20'/>");
    TObject* child = NestChild(*parent, "<object x='100' y='100'/>");
    TObject* grandchild = NestChild(*child, "<object x='0' y='0'/>");
    parent->MoveBy(5, 7);
    EXPECT_FLOAT_EQ(parent->mX, 20.0f);
    EXPECT_FLOAT_EQ(parent->mY, 34.0f);
    EXPECT_EQ(parent->mRefX, 15);
    EXPECT_EQ(parent->mRefY, 27);
    EXPECT_FLOAT_EQ(child->mX, 115.0f);
    EXPECT_FLOAT_EQ(child->mY, 121.0f);
    EXPECT_FLOAT_EQ(grandchild->mX, 15.0f);
    EXPECT_FLOAT_EQ(grandchild->mY, 21.0f);
}

TEST(SceneObjectUpdate, FrameSheetLoopsHoldsAndComesBackInRange)
{
    struct Case {
        const char* keys;
        int updates;
        int frame;
    };
    const Case cases[] = {
        {"animmode='loop'", 3, 0},
        {"animmode='noloop'", 3, 2},
        {"animmode='loop' startframe='5'", 1, 0},
        {"animmode='noloop' startframe='5'", 1, 2},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TObject> o = LoadObjectFrom(
            std::string("<object texrects='0.0.10.10' frames='3' texw='30' framedelay='0.1' ") + c.keys + "/>");
        o->LoadResources();  // a frame outside the list reads no rectangle
        for (int i = 0; i < c.updates; ++i) o->Update(0.1f);
        EXPECT_EQ(o->mCurrentFrame, c.frame) << c.keys;
    }
}

namespace {
class TDoneAfter : public DrawObject {
public:
    TDoneAfter(int updates, bool* alive) : mLeft(updates), mAlive(alive) { *mAlive = true; }
    ~TDoneAfter() override { *mAlive = false; }
    bool Update(float) override { return --mLeft <= 0; }
    int mLeft;
    bool* mAlive;
};

class TCountingEffector : public TEffector {
public:
    void Update(float dt) override
    {
        ++mUpdates;
        TEffector::Update(dt);
    }
    int mUpdates = 0;
};
}  // namespace

TEST(SceneObjectUpdate, ClickDelayEffectAndEffectorRunOncePerUpdate)
{
    std::unique_ptr<TObject> o = LoadObjectFrom("<object/>");
    o->mClickDelayCountdown = 0.5f;
    o->Update(0.25f);
    EXPECT_FLOAT_EQ(o->mClickDelayCountdown, 0.25f);

    bool alive = false;
    o->mEffect.reset(new TDoneAfter(2, &alive));
    o->Update(0.1f);
    EXPECT_TRUE(alive);
    o->Update(0.1f);
    EXPECT_FALSE(alive);
    EXPECT_EQ(o->mEffect, nullptr);

    o->mEffect.reset(new TDoneAfter(5, &alive));
    o->SetVisible(false);
    EXPECT_FALSE(alive);
}

TEST(SceneObjectUpdate, BoundEffectorMovesTheImageInTheSameUpdate)
{
    TiXmlDocument doc;
    ParseXmlText(&doc, "<effector name='E' loop='1'><key id='x' time='0' value='0'/>"
                       "<key id='x' time='1' value='100'/></effector>");
    TCountingEffector effector;
    effector.LoadXml(doc.RootElement());
    std::unique_ptr<TObject> parent = LoadObjectFrom("<object/>");
    TObject* o = NestChild(*parent, "<object effector='E'/>");
    parent->LoadResources();
    parent->BindEffector(&effector);
    parent->Update(0.25f);
    parent->Update(0.25f);
    EXPECT_EQ(effector.mUpdates, 2);
    EXPECT_FLOAT_EQ(o->mX, 25.0f);
    EXPECT_FLOAT_EQ(o->mImage->mX, 25.0f);
}

TEST_F(SceneCanvasTest, ResourcesTakeTheSizeOfThePictureUnlessGiven)
{
    struct Case {
        const char* keys;
        float w, h;
    };
    const Case cases[] = {
        {"name='pic'", 32, 16},
        {"name='pic' w='50' h='7'", 50, 7},
        {"name='missing'", 0, 0},
        {"name='missing' w='9' h='3'", 9, 3},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TObject> o = LoadObjectFrom(std::string("<object ") + c.keys + "/>");
        o->LoadResources();
        EXPECT_FLOAT_EQ(o->mWidth, c.w) << c.keys;
        EXPECT_FLOAT_EQ(o->mHeight, c.h) << c.keys;
        ASSERT_NE(o->mImage, nullptr);
    }

    // Once loaded the picture's width counts for the draw type, whatever "w" says.
    std::unique_ptr<TObject> centred = LoadObjectFrom("<object name='pic' drawtype='1' w='100' x='300'/>");
    EXPECT_FLOAT_EQ(centred->GetX(), 250.0f);
    centred->LoadResources();
    EXPECT_FLOAT_EQ(centred->GetX(), 284.0f);
}

TEST_F(SceneCanvasTest, LoadSwitchesGoBackToTheirDefaults)
{
    KeepTextureAlpha = false;
    KeepTextureColors = true;
    std::unique_ptr<TObject> o = LoadObjectFrom("<object name='pic' cob='1' cachergb='1'/>");
    o->LoadResources();
    EXPECT_TRUE(KeepTextureAlpha);
    EXPECT_FALSE(KeepTextureColors);
    KeepTextureAlpha = false;
    std::unique_ptr<TObject> missing = LoadObjectFrom("<object name='missing' cachergb='1'/>");
    missing->LoadResources();
    EXPECT_TRUE(KeepTextureAlpha);
    EXPECT_FALSE(KeepTextureColors);
}

TEST_F(SceneCanvasTest, SheetDrawsItsCurrentFrameAndFreeingEmptiesTheTree)
{
    std::unique_ptr<TObject> o = LoadObjectFrom(
        "<object name='pic' texrects='0.0.16.16' frames='2' texw='32' framedelay='1' animmode='loop'/>");
    TObject* child = NestChild(*o, "<object name='pic' x='40'/>");
    o->LoadResources();
    EXPECT_FLOAT_EQ(o->mWidth, 32.0f);  // the whole sheet, before the frame rectangle
    o->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{0, 0, 72, 16}));
    ExpectPixel(8, 8, 255, 0, 0);
    o->Update(1.0f);
    EXPECT_FLOAT_EQ(o->mImage->mTransform.mSrcX, 16.0f);
    Clear(0, 0, 0);
    o->Draw(1.0f);
    ExpectPixel(8, 8, 0, 0, 255);
    ExpectPixel(20, 8, 0, 0, 0);

    o->FreeResources();
    EXPECT_EQ(o->mImage, nullptr);
    EXPECT_EQ(child->mImage, nullptr);
    Clear(0, 0, 0);
    o->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{0, 0, 0, 0}));
}

TEST_F(SceneCanvasTest, HiddenParentsChildOrderAndAlphaFactor)
{
    std::unique_ptr<TObject> hidden = LoadObjectFrom("<object name='pic' visible='0'/>");
    NestChild(*hidden, "<object name='pic'/>");
    hidden->LoadResources();
    hidden->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{0, 0, 0, 0}));

    // The child lies on the parent's blue half: on top, unless the children come first.
    for (bool childrenFirst : {false, true}) {
        std::unique_ptr<TObject> parent = LoadObjectFrom(std::string("<object name='pic' drawchildsfirst='") +
                                                         (childrenFirst ? "1" : "0") + "'/>");
        NestChild(*parent, "<object name='pic' x='16'/>");
        parent->LoadResources();
        Clear(0, 0, 0);
        parent->Draw(1.0f);
        if (childrenFirst)
            ExpectPixel(20, 8, 0, 0, 255);
        else
            ExpectPixel(20, 8, 255, 0, 0);
    }

    std::unique_ptr<TObject> faint = LoadObjectFrom("<object/>");
    NestChild(*faint, "<object name='pic'/>");
    faint->LoadResources();
    Clear(0, 0, 0);
    faint->Draw(0.5f);
    ExpectPixel(4, 4, 128, 0, 0, 2);
}

TEST_F(SceneCanvasTest, ClipRectanglePutsBackTheClipItFound)
{
    std::unique_ptr<TObject> clipped = LoadObjectFrom("<object name='pic' cliprect='0.0.16.16'/>");
    std::unique_ptr<TObject> large = LoadObjectFrom("<object name='pic' scalex='2' scaley='4'/>");
    clipped->LoadResources();
    large->LoadResources();
    const SDL_Rect outer{0, 0, 32, 64};
    SDL_RenderSetClipRect(mRenderer, &outer);
    clipped->Draw(1.0f);
    large->Draw(1.0f);
    SDL_Rect after{0, 0, 0, 0};
    SDL_RenderGetClipRect(mRenderer, &after);
    EXPECT_EQ(after, outer);
    SDL_RenderSetClipRect(mRenderer, nullptr);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{0, 0, 32, 64}));

    Clear(0, 0, 0);
    clipped->Draw(1.0f);
    EXPECT_FALSE(SDL_RenderIsClipEnabled(mRenderer));
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{0, 0, 16, 16}));

    // Three numbers leave the height at 0: nothing shows.
    std::unique_ptr<TObject> flat = LoadObjectFrom("<object name='pic' cliprect='0.0.16'/>");
    flat->LoadResources();
    Clear(0, 0, 0);
    flat->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{0, 0, 0, 0}));
}

TEST(SceneObjectRecord, PlainAndRichRecordsMatchTheirBytes)
{
    std::unique_ptr<TObject> plain = LoadObjectFrom("<object/>");
    TBaseBuffer plainBytes;
    plain->SaveState(plainBytes);
    EXPECT_EQ(ToHex(Bytes(plainBytes)), ToHex(HexBytes("01 E8 03 00 00 00 00 00 00 00 00 00 FF FF FF FF 00 00 00 00 00")));

    const std::string rich = "<object id='r' effector='E' x='12.5' y='-3.25' alpha='0.7' locked='1' drawtype='1' "
                             "tools='a;b' toolsae='c,true' active='1'/>";
    std::unique_ptr<TObject> o = LoadObjectFrom(rich);
    NestChild(*o, "<object/>");
    o->mToolApplied = true;
    o->mClickCounter = 1;
    o->mToolCounter = TObject::kNoLimit;
    o->mHintCycle = 2;
    o->mReservedState = -2;
    o->mToolRecords[0].mUsed = true;
    TBaseBuffer buffer;
    o->SaveState(buffer);
    EXPECT_EQ(ToHex(Bytes(buffer)),
              ToHex(HexBytes("D4 30 00 00 4E F3 FF FF 01 BC 02 00 00 01 00 01 01 00 00 00 01 00 0F 27 01 02 00 FE "
                             "FF 01 00 00 01 E8 03 00 00 00 00 00 00 00 00 00 FF FF FF FF 00 00 00 00 00")));
    EXPECT_EQ(o->mStateKey, "r");

    std::unique_ptr<TObject> back = LoadObjectFrom(rich);
    TObject* backChild = NestChild(*back, "<object/>");
    backChild->mClickCounter = 5;
    back->mX = back->mY = 0;
    back->mLocked = false;
    back->LoadState(buffer);
    EXPECT_FLOAT_EQ(back->mX, 12.5f);
    EXPECT_FLOAT_EQ(back->mY, -3.25f);
    EXPECT_FLOAT_EQ(back->mAlpha, 0.7f);
    EXPECT_TRUE(back->mVisible);
    EXPECT_TRUE(back->mLocked);
    EXPECT_TRUE(back->mToolApplied);
    EXPECT_EQ(back->mDrawType, 1);
    EXPECT_EQ(back->mClickCounter, 1);
    EXPECT_EQ(back->mToolCounter, TObject::kNoLimit);
    EXPECT_TRUE(back->mActive);
    EXPECT_EQ(back->mHintCycle, 2);
    EXPECT_EQ(back->mReservedState, -2);
    EXPECT_TRUE(back->mToolRecords[0].mUsed);
    EXPECT_FALSE(back->mToolRecords[1].mUsed);
    EXPECT_FALSE(back->mAfterEventToolRecords[0].mUsed);
    EXPECT_EQ(backChild->mClickCounter, -1);
    EXPECT_EQ(buffer.BytesLeft(), 0u);
}

TEST(SceneObjectRecord, CountersKeepSixteenBitsAndTheUnlimitedMark)
{
    struct Case {
        int32_t counter, maximum;
        const char* bytes;
        int32_t back;
    };
    const Case cases[] = {
        {-1, TObject::kNoLimit, "FF FF", -1},
        {TObject::kNoLimit, TObject::kNoLimit, "0F 27", TObject::kNoLimit},
        {40000, TObject::kNoLimit, "40 9C", -25536},
        {9999, 20000, "0F 27", TObject::kNoLimit},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TObject> o = LoadObjectFrom("<object/>");
        o->mClickCounter = c.counter;
        o->mMaxClicks = c.maximum;
        TBaseBuffer buffer;
        o->SaveState(buffer);
        EXPECT_EQ(ToHex(Bytes(buffer).substr(12, 2)), ToHex(HexBytes(c.bytes))) << c.counter;
        o->LoadState(buffer);
        EXPECT_EQ(o->mClickCounter, c.back) << c.counter;
    }
}

TEST(SceneObjectRecord, ShortRecordReadsZeros)
{
    std::unique_ptr<TObject> o = LoadObjectFrom("<object moveable='1' x='5' y='6' tools='a' active='1'/>");
    TBaseBuffer buffer;
    buffer.WriteByte(0x10);
    buffer.WriteByte(0x27);
    o->mToolRecords[0].mUsed = true;
    o->LoadState(buffer);
    EXPECT_FLOAT_EQ(o->mX, 10.0f);
    EXPECT_FLOAT_EQ(o->mY, 0.0f);
    EXPECT_FALSE(o->mVisible);
    EXPECT_FLOAT_EQ(o->mAlpha, 0.0f);
    EXPECT_FALSE(o->mActive);
    EXPECT_EQ(o->mClickCounter, 0);
    EXPECT_FALSE(o->mToolRecords[0].mUsed);
}

TEST(SceneObjectRecord, ARecordOutOfRangeIsRefusedAndTheChildrenStillRead)
{
    struct Case {
        size_t at;  // alpha at 1, draw type at 8
        int32_t value;
    };
    const Case cases[] = {{1, 1001}, {1, -1}, {8, 6}, {8, -1}, {8, 2147483647}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at << " " << c.value);
        std::unique_ptr<TObject> saved = LoadObjectFrom("<object id='s' alpha='0.2' drawtype='4'/>");
        NestChild(*saved, "<object id='c'/>")->mClickCounter = 7;
        saved->mLocked = true;
        TBaseBuffer good;
        saved->SaveState(good);
        std::string bytes = Bytes(good);
        for (int i = 0; i < 4; ++i) bytes[c.at + i] = static_cast<char>(static_cast<uint32_t>(c.value) >> (8 * i));
        TBaseBuffer damaged;
        for (char b : bytes) damaged.WriteByte(static_cast<uint8_t>(b));

        std::unique_ptr<TObject> o = LoadObjectFrom("<object id='s' alpha='0.5' drawtype='1'/>");
        TObject* child = NestChild(*o, "<object id='c'/>");
        TLogWatch log;
        o->LoadState(damaged);
        EXPECT_EQ(log.CountStartingWith("object s: saved state refused ("), 1u);
        EXPECT_FLOAT_EQ(o->mAlpha, 0.5f);
        EXPECT_EQ(o->mDrawType, 1);
        EXPECT_FALSE(o->mLocked) << "nothing of a refused record is taken";
        EXPECT_EQ(child->mClickCounter, 7);
        EXPECT_EQ(damaged.BytesLeft(), 0u);
    }
}
