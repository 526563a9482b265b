// Item places: indexed places exchanging their variants, image places exchanging their
// pictures with a slide, items taken with tools, the lock after set, records, and the handles
// that route the mouse and see the puzzle complete.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/buffer.h"
#include "objects/place_objects.h"
#include "objects/puzzle_fixture.h"
#include "rooms/tool.h"

namespace {

// Six variants, variant i at (x + 10 i, 100) and 20 + i pixels square.
std::string IndexedPlace(const std::string& id, int x, int index, int correct, const std::string& extra = "")
{
    std::string xml = "<object id=\"" + id + "\" type=\"placesitems_object\" x=\"" + std::to_string(x) +
                      "\" y=\"100\" w=\"20\" h=\"20\" filename=\"ring\" index=\"" + std::to_string(index) +
                      "\" correctindex=\"" + std::to_string(correct) + "\" soundtake=\"take\" tools=\"key\" " +
                      extra + ">";
    for (int i = 0; i < 6; ++i)
        xml += "<object id=\"" + id + "_v" + std::to_string(i) + "\" name=\"v" + std::to_string(i) + "\" x=\"" +
               std::to_string(x + 10 * i) + "\" y=\"100\" w=\"" + std::to_string(20 + i) + "\" h=\"" +
               std::to_string(20 + i) + "\"/>";
    return xml + "</object>";
}

std::string ImagePlace(const std::string& id, int x, const std::string& image, const std::string& needed,
                       const std::string& extra = "")
{
    return "<object id=\"" + id + "\" type=\"places_object\" x=\"" + std::to_string(x) + "\" y=\"100\" name=\"" +
           image + "\" needed_image=\"" + needed + "\" soundtake=\"take\" tools=\"key\" " + extra + "/>";
}

class PlaceTest : public PuzzleTest {
protected:
    void SetUp() override
    {
        PuzzleTest::SetUp();
        mSpace.mDataFolder = "pz/";
        for (const char* name : {"a", "b", "ring", "v0", "v1", "v2", "v3", "v4", "v5"})
            SolidPng(std::string("pz/") + name + ".png", 20, 20, SDL_Color{200, 40, 40, 255});
        mTool = AddTool("key", true);
    }
    void TearDown() override
    {
        // The cursor pictures go while the renderer lives.
        GlobalToolsList().Clear();
        PuzzleTest::TearDown();
    }

    TTool* AddTool(const std::string& id, bool withFlyImage)
    {
        auto tool = std::make_unique<TTool>();
        tool->mId = id;
        if (withFlyImage) tool->mFlyImages.push_back(std::make_unique<StaticImage>());
        GlobalToolsList().mTools.push_back(std::move(tool));
        return GlobalToolsList().mTools.back().get();
    }

    // A handle of the kind with the places, loaded, its resources loaded and shown once.
    template <class Handle>
    Handle* LoadHandle(const std::string& type, const std::string& places, const std::string& extra = "")
    {
        Handle* handle = Load<Handle>("<object id=\"shelf\" type=\"" + type + "\" vae=\"g0;g1\" " + extra + ">" +
                                      places + "</object>");
        if (!handle) return nullptr;
        handle->LoadResources();
        handle->OnSpaceShown();
        return handle;
    }

    template <class Kind>
    Kind* Child(TObject* handle, size_t k)
    {
        return dynamic_cast<Kind*>(handle->mChildren[k].get());
    }

    TTool* mTool = nullptr;
};

TEST_F(PlaceTest, IndexedPlacesExchangeTheirVariantsAndComplete)
{
    auto* shelf = LoadHandle<TPlacesItemsHandleObject>(
        "placesitems_handle_object", IndexedPlace("a", 100, 2, 5) + IndexedPlace("b", 300, 5, 2));
    ASSERT_NE(nullptr, shelf);
    auto* a = Child<TPlacesItemsObject>(shelf, 0);
    auto* b = Child<TPlacesItemsObject>(shelf, 1);
    EXPECT_EQ(a->mHandle, shelf);
    EXPECT_TRUE(mGroups.mGroups.empty());
    EXPECT_EQ(a->mX, 120.0f);
    EXPECT_EQ(a->mWidth, 22.0f);

    mTool->mSourceObject = b;
    // The plain press after the exchange tests the place where its new variant stands.
    EXPECT_FALSE(shelf->OnMouseDown(PressAt(125, 105, mTool)));
    EXPECT_EQ(a->mIndex, 5);
    EXPECT_EQ(b->mIndex, 2);
    EXPECT_EQ(a->mX, 150.0f);
    EXPECT_EQ(a->mWidth, 25.0f);
    EXPECT_EQ(b->mX, 320.0f);
    EXPECT_EQ(b->mHeight, 22.0f);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(a->mChildren[i]->IsVisible(), i == 5);
    EXPECT_EQ(mTrace, (std::vector<std::string>{"sound drop_tool"}));
    EXPECT_TRUE(a->mSet && b->mSet);
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0"}));
}

TEST_F(PlaceTest, ACentredPlaceIsPressedWhereItsItemIsDrawn)
{
    SolidPng("pz/v1.png", 20, 20, SDL_Color{40, 200, 40, 255});
    auto* shelf = Load<TPlacesItemsHandleObject>(
        "<object type=\"placesitems_handle_object\" align_to_center=\"1\">"
        "<object type=\"placesitems_object\" x=\"100\" y=\"100\" name=\"ring\" index=\"1\">"
        "<object x=\"100\" y=\"100\" name=\"v0\"/><object x=\"100\" y=\"100\" name=\"v1\"/>"
        "</object></object>");
    ASSERT_NE(nullptr, shelf);
    shelf->LoadResources();
    shelf->OnSpaceFirstShown();
    shelf->OnSpaceShown();
    auto* place = Child<TPlacesItemsObject>(shelf, 0);
    Clear(0, 0, 0);
    shelf->Draw(1.0f);
    // The written point is the item's centre, and the place answers exactly where it shows.
    for (const SDL_Point& at : {SDL_Point{100, 100}, SDL_Point{92, 92}, SDL_Point{108, 108}, SDL_Point{88, 100},
                                SDL_Point{115, 115}, SDL_Point{100, 112}}) {
        SCOPED_TRACE(std::to_string(at.x) + "," + std::to_string(at.y));
        const bool drawn = Pixel(at.x, at.y).g == 200;
        EXPECT_EQ(drawn, place->HitTestSelf(at.x, at.y));
    }
    ExpectPixel(100, 100, 40, 200, 40);
}

TEST_F(PlaceTest, ADropOnItsOwnSourceRunsOnlyThePlainPress)
{
    auto* shelf = LoadHandle<TPlacesItemsHandleObject>(
        "placesitems_handle_object", IndexedPlace("a", 100, 2, 5) + IndexedPlace("b", 300, 5, 2));
    ASSERT_NE(nullptr, shelf);
    auto* a = Child<TPlacesItemsObject>(shelf, 0);
    mTool->mSourceObject = a;
    EXPECT_TRUE(a->OnMouseDown(PressAt(125, 105, mTool)));
    EXPECT_EQ(a->mIndex, 2);
    EXPECT_TRUE(mTrace.empty());
}

TEST_F(PlaceTest, TakingAnItemPointsTheToolAtThePlace)
{
    auto* shelf = LoadHandle<TPlacesItemsHandleObject>("placesitems_handle_object", IndexedPlace("a", 100, 2, 5));
    ASSERT_NE(nullptr, shelf);
    auto* a = Child<TPlacesItemsObject>(shelf, 0);
    EXPECT_TRUE(a->UseToolRecord(0, a->mToolRecords));
    EXPECT_EQ(mTrace, (std::vector<std::string>{"sound take"}));
    EXPECT_EQ(mTool->mFlyImages.front()->GetTextureName(), "pz/v2");
    EXPECT_TRUE(a->mTaken);
    EXPECT_EQ(mTool->mSourceObject, a);
    EXPECT_FALSE(a->UseToolRecord(3, a->mToolRecords));
}

TEST_F(PlaceTest, ToolsWithoutCursorPicturesStillTakeTheItem)
{
    struct TCase {
        const char* name;
        std::string tools;
        int index;
    };
    AddTool("bare", false);
    const std::vector<TCase> cases = {
        {"tool not in the list", "nowhere", 2},
        {"tool without fly images", "bare", 2},
        {"index naming no child", "key", 9},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        mTrace.clear();
        mTool->mFlyImages.front()->FreeTexture();
        mTool->mFlyImages.front()->mTextureName.clear();
        auto* place = Load<TPlacesItemsObject>(
            IndexedPlace("p", 100, c.index, 0, "tools=\"" + c.tools + "\""));
        ASSERT_NE(nullptr, place);
        place->LoadResources();
        EXPECT_TRUE(place->UseToolRecord(0, place->mToolRecords));
        EXPECT_EQ(mTrace, (std::vector<std::string>{"sound take"}));
        EXPECT_TRUE(place->mTaken);
        EXPECT_EQ(mTool->mFlyImages.front()->GetTextureName(), "");
        place->FreeResources();
        mSpace.mObjects.clear();
    }
}

TEST_F(PlaceTest, LockAfterSetKeepsThePlaceLockedWithItsItemShown)
{
    auto* shelf = LoadHandle<TPlacesItemsHandleObject>(
        "placesitems_handle_object",
        IndexedPlace("a", 100, 1, 1, "lock_after_set=\"1\"") + IndexedPlace("b", 300, 0, 1, "lock_after_set=\"1\""));
    ASSERT_NE(nullptr, shelf);
    auto* a = Child<TPlacesItemsObject>(shelf, 0);
    auto* b = Child<TPlacesItemsObject>(shelf, 1);
    EXPECT_TRUE(a->mSet);
    EXPECT_TRUE(a->IsLocked());
    EXPECT_TRUE(a->mItemImage->IsVisible());
    EXPECT_EQ(a->mItemImage->mX, 110.0f);
    EXPECT_FALSE(b->mSet);
    EXPECT_FALSE(b->mItemImage->IsVisible());
    shelf->Lock();
    shelf->Unlock();
    EXPECT_TRUE(a->IsLocked());
    EXPECT_FALSE(b->IsLocked());
    // Locked, the set place takes no drop.
    mTool->mSourceObject = b;
    EXPECT_FALSE(a->OnMouseDown(PressAt(115, 105, mTool)));
    EXPECT_EQ(a->mIndex, 1);
}

TEST_F(PlaceTest, ActivatedPlacesCompleteWhenShown)
{
    auto* shelf = Load<TPlacesItemsHandleObject>("<object id=\"shelf\" type=\"placesitems_handle_object\" vae=\"g0\">" +
                                                 IndexedPlace("a", 100, 1, 4) + IndexedPlace("b", 300, 0, 4) +
                                                 "</object>");
    ASSERT_NE(nullptr, shelf);
    shelf->LoadResources();
    for (auto& child : shelf->mChildren) child->Activate(0, 0, 0);
    shelf->OnSpaceShown();
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0"}));
    shelf->OnSpaceShown();
    EXPECT_EQ(mGroups.Count("g0"), 2);
}

TEST_F(PlaceTest, ImagePlacesSwapAndTheDisplacedPictureSlidesHome)
{
    auto* shelf = LoadHandle<TPlacesHandleObject>(
        "places_handle_object", ImagePlace("a", 100, "b", "a") + ImagePlace("b", 400, "a", "b"),
        "moving_time=\"0.002\"");
    ASSERT_NE(nullptr, shelf);
    auto* a = Child<TPlacesObject>(shelf, 0);
    auto* b = Child<TPlacesObject>(shelf, 1);
    EXPECT_EQ(a->mHandle, shelf);
    TRecordedSoundCalls calls;
    b->mTaken = true;
    mTool->mSourceObject = b;
    shelf->OnMouseDown(PressAt(105, 105, mTool));
    EXPECT_EQ(calls.mCalls, (std::vector<std::string>{"play drop_tool"}));
    EXPECT_EQ(a->mImage->GetTextureName(), "pz/a");
    EXPECT_EQ(a->mImagePath, "pz/a");
    EXPECT_EQ(a->mImage->mX, 100.0f);
    EXPECT_EQ(b->mImage->GetTextureName(), "pz/b");
    EXPECT_EQ(b->mImage->mX, 100.0f);
    EXPECT_FALSE(b->mTaken);
    EXPECT_FLOAT_EQ(b->mMover.mDuration, 0.6f);
    shelf->Update(0.3f);
    EXPECT_NEAR(b->mImage->mX, 250.0f, 0.5f);
    EXPECT_TRUE(mGroups.mGroups.empty());
    shelf->Update(0.3001f);
    EXPECT_EQ(b->mImage->mX, 400.0f);
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0"}));

    // Dropped on itself: the sound, and a slide over no distance.
    calls.mCalls.clear();
    mTool->mSourceObject = a;
    shelf->OnMouseDown(PressAt(105, 105, mTool));
    EXPECT_EQ(calls.mCalls, (std::vector<std::string>{"play drop_tool"}));
    EXPECT_EQ(a->mImage->GetTextureName(), "pz/a");
    EXPECT_TRUE(a->IsSliding());
    EXPECT_EQ(a->mMover.mDuration, 0.0f);
}

TEST_F(PlaceTest, ImagePlacesWithoutHandleOrPictureStayQuiet)
{
    auto* a = Load<TPlacesObject>(ImagePlace("a", 100, "b", "a"));
    auto* b = Load<TPlacesObject>(ImagePlace("b", 200, "a", "b"));
    ASSERT_TRUE(a && b);
    // Before any resource load neither has a picture: in place only when activated.
    EXPECT_FALSE(a->IsInPlace());
    a->ExchangeWith(*b);
    EXPECT_EQ(a->mImagePath, "pz/b");
    EXPECT_FALSE(b->IsSliding());
    a->Activate(0, 0, 0);
    EXPECT_TRUE(a->IsInPlace());
    a->LoadResources();
    b->LoadResources();
    a->ExchangeWith(*b);
    // No handle: a thousandth of a second per pixel, and nothing checked at the end.
    EXPECT_FLOAT_EQ(b->mMover.mDuration, 0.1f);
    b->Update(0.2f);
    EXPECT_FALSE(b->IsSliding());
    EXPECT_TRUE(mGroups.mGroups.empty());
}

TEST_F(PlaceTest, RecordsFollowThePlaceAfterItsVariants)
{
    auto* place = Load<TPlacesItemsObject>(IndexedPlace("a", 100, 2, 2, "lock_after_set=\"1\""));
    ASSERT_NE(nullptr, place);
    place->OnSpaceShown();
    ASSERT_TRUE(place->mSet);
    TBaseBuffer mine;
    place->SaveState(mine);
    TBaseBuffer reference;
    place->TObject::SaveState(reference);
    reference.WriteByte(1);
    reference.WriteInt32(2);
    EXPECT_EQ(mine.Bytes(), reference.Bytes());
    auto* fresh = Load<TPlacesItemsObject>(IndexedPlace("b", 100, 0, 2, "lock_after_set=\"1\""));
    fresh->LoadState(mine);
    EXPECT_EQ(fresh->mIndex, 2);
    EXPECT_TRUE(fresh->IsLocked());
    EXPECT_TRUE(fresh->mItemImage->IsVisible());
    EXPECT_TRUE(mine.ReadAtEnd());

    auto* image = Load<TPlacesObject>(ImagePlace("i", 100, "b", "a"));
    image->mImagePath = "pz/a";
    image->mTaken = true;
    image->mVisible = false;
    TBaseBuffer saved;
    image->SaveState(saved);
    auto* back = Load<TPlacesObject>(ImagePlace("j", 100, "b", "a"));
    back->LoadState(saved);
    EXPECT_EQ(back->mImagePath, "pz/a");
    EXPECT_TRUE(back->IsVisible());
    EXPECT_FALSE(back->mTaken);
    back->LoadResources();
    EXPECT_EQ(back->mImage->GetTextureName(), "pz/a");
    EXPECT_TRUE(back->IsInPlace());
}

TEST_F(PlaceTest, HandlesRouteFirstToLastAndHoldTheirReactionsWhileLocked)
{
    auto* shelf = LoadHandle<TPlacesItemsHandleObject>(
        "placesitems_handle_object",
        IndexedPlace("a", 100, 0, 0) + IndexedPlace("b", 100, 0, 0) +
            "<object id=\"plain\" x=\"0\" y=\"0\" w=\"10\" h=\"10\" checkonlybounds=\"1\"/>");
    ASSERT_NE(nullptr, shelf);
    auto* a = Child<TPlacesItemsObject>(shelf, 0);
    auto* b = Child<TPlacesItemsObject>(shelf, 1);
    // The plain child is no place: it is not counted, and it still gets the mouse.
    EXPECT_EQ(mGroups.Count("g0"), 1);
    EXPECT_TRUE(shelf->OnMouseDown(PressAt(105, 105)));
    EXPECT_EQ(a->mClickCounter, 0);
    EXPECT_EQ(b->mClickCounter, -1);
    EXPECT_TRUE(shelf->OnMouseDown(PressAt(5, 5)));
    EXPECT_EQ(shelf->mChildren[2]->mClickCounter, 0);

    shelf->Lock();
    EXPECT_FALSE(shelf->OnMouseDown(PressAt(5, 5)));
    EXPECT_EQ(shelf->mChildren[2]->mClickCounter, 0);
    shelf->OnSpaceShown();
    EXPECT_EQ(mGroups.Count("g0"), 1);
}

TEST_F(PlaceTest, HiddenSetPlaceDrawsNoItemImage)
{
    auto* place = Load<TPlacesItemsObject>(IndexedPlace("a", 100, 2, 2, "lock_after_set=\"1\""));
    ASSERT_NE(nullptr, place);
    for (auto& child : place->mChildren) child->mVisible = false;
    place->mImagePath.clear();
    place->LoadResources();
    place->OnSpaceShown();
    ASSERT_TRUE(place->mItemImage->IsVisible());
    for (auto& child : place->mChildren) child->mVisible = false;
    place->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), SDL_Rect({120, 100, 20, 20}));
    Clear(0, 0, 0);
    place->SetVisible(false);
    place->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), SDL_Rect({0, 0, 0, 0}));
}

// The tools outlive the rooms; a place gone with its room leaves no tool pointing at it.
TEST_F(PlaceTest, AToolNeverPointsAtAPlaceOfAClosedRoom)
{
    {
        TTestSpace roomA;
        roomA.mDataFolder = "pz/";
        TiXmlDocument doc;
        ParseXmlText(&doc, "<Objects>" + IndexedPlace("gone", 100, 1, 0) + "</Objects>");
        roomA.LoadObjects(doc.RootElement(), nullptr);
        auto* gone = dynamic_cast<TPlacesItemsObject*>(roomA.mObjects.front().get());
        ASSERT_NE(nullptr, gone);
        gone->LoadResources();
        ASSERT_TRUE(gone->UseToolRecord(0, gone->mToolRecords));
        EXPECT_EQ(mTool->mSourceObject, gone);
        mTool->mFlyImages.front()->FreeTexture();
        gone->FreeResources();
    }
    EXPECT_EQ(mTool->mSourceObject, nullptr);
    auto* shelf =
        LoadHandle<TPlacesItemsHandleObject>("placesitems_handle_object", IndexedPlace("here", 100, 2, 5));
    ASSERT_NE(nullptr, shelf);
    auto* here = Child<TPlacesItemsObject>(shelf, 0);
    mTrace.clear();
    shelf->OnMouseDown(PressAt(125, 105, mTool));
    EXPECT_EQ(here->mIndex, 2);
    EXPECT_TRUE(mTrace.empty());
    // An item of the other kind of place is no exchange either.
    auto* image = Load<TPlacesObject>(ImagePlace("other", 500, "a", "b"));
    mTool->mSourceObject = image;
    shelf->OnMouseDown(PressAt(125, 105, mTool));
    EXPECT_EQ(here->mIndex, 2);
    EXPECT_TRUE(mTrace.empty());
}

}  // namespace
