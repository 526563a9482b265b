// The object factory: every type name of a space file builds its own kind, answering its
// code, its movability and its first values; the operations the kinds share; the
// process-wide factory in the application state.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/messages.h"
#include "log_watch.h"
#include "objects/anim_objects.h"
#include "objects/balance_objects.h"
#include "objects/board_puzzle_objects.h"
#include "objects/clock_arrow_objects.h"
#include "objects/container_objects.h"
#include "objects/decor_objects.h"
#include "objects/found_objects.h"
#include "objects/infrared_objects.h"
#include "objects/light_button_objects.h"
#include "objects/morph_objects.h"
#include "objects/movie_objects.h"
#include "objects/mover_objects.h"
#include "objects/object_factory.h"
#include "objects/place_objects.h"
#include "objects/sequence_objects.h"
#include "objects/shape_text_objects.h"
#include "objects/slide_rotator_objects.h"
#include "objects/slider_objects.h"
#include "objects/timer_objects.h"
#include "objects/weight_objects.h"

namespace {

// Every listed base reachable from the object (none listed: nothing to check).
template <class... Bases>
bool Reaches([[maybe_unused]] TObject* object)
{
    return (true && ... && (dynamic_cast<Bases*>(object) != nullptr));
}

struct TKindCase {
    const char* mName;
    const std::type_info& mClass;
    int mCode;
    bool mMovable;
    bool mContainer;  // passes the mouse to its children through TTransparentObject
    bool (*mReachesBases)(TObject*);
};

const bool M = true;   // movable
const bool C = true;   // container
const bool _ = false;

const TKindCase kKinds[] = {
    {"", typeid(TObject), 0, _, _, Reaches<>},
    {"switcher", typeid(TSwitcherObject), 2, _, _, Reaches<>},
    {"hidden", typeid(THiddenObject), 1, _, _, Reaches<>},
    {"mover", typeid(TMoverObject), 0, M, _, Reaches<>},
    {"arc_mover", typeid(TArcMoverObject), 13, M, _, Reaches<>},
    {"shutter_object", typeid(TShutterObject), 34, M, _, Reaches<>},
    {"multytool", typeid(TMultyToolObject), 0, _, _, Reaches<>},
    {"particle", typeid(TParticleObject), 47, _, _, Reaches<>},
    {"cloud", typeid(TCloudsObject), 0, _, _, Reaches<>},
    {"animlinemover", typeid(TLineMovingAnimObject), 12, M, _, Reaches<TAnimObject>},
    {"anim", typeid(TAnimObject), 11, _, _, Reaches<>},
    {"cadrobj", typeid(TCadrObject), 18, _, _, Reaches<>},
    {"cadritemsobj", typeid(TCadrItemsObject), 19, _, _, Reaches<>},
    {"udflex", typeid(TUDFlexibleObject), 25, M, _, Reaches<TFlexibleObject>},
    {"tag_object", typeid(TTagObject), 38, _, _, Reaches<TTagListener>},
    {"labyrinth_object", typeid(TLabyrinthObject), 26, _, _, Reaches<>},
    {"balance_object", typeid(TBalanceObject), 15, _, C, Reaches<>},
    {"places_object", typeid(TPlacesObject), 33, M, _, Reaches<>},
    {"places_handle_object", typeid(TPlacesHandleObject), 32, _, C, Reaches<>},
    {"places_handle_object2", typeid(TPlacesHandleObject), 32, _, C, Reaches<>},
    {"placesitems_object", typeid(TPlacesItemsObject), 33, M, _, Reaches<>},
    {"placesitems_handle_object", typeid(TPlacesItemsHandleObject), 32, _, C, Reaches<>},
    {"placesitems_handle_object2", typeid(TPlacesItemsHandleObject), 32, _, C, Reaches<>},
    {"ball_shooter_object", typeid(TBallShooterObject), 16, _, C, Reaches<>},
    {"asterix", typeid(TAsterixObject), 14, _, _, Reaches<>},
    {"gun_ball", typeid(TGunBallObject), 0, _, _, Reaches<>},
    {"moving_clock_arrow", typeid(TMovingClockArrowObject), 30, M, _, Reaches<>},
    {"button_seq_control", typeid(TButtonSequenceControlObject), 17, _, _, Reaches<>},
    {"light_checkbutton", typeid(TLightCheckButtonObject), 27, _, _, Reaches<>},
    {"light_checkbutton2", typeid(TLCBResetOnUnlockObject), 28, _, _, Reaches<TLightCheckButtonObject>},
    {"slider", typeid(TSliderObject), 35, M, _, Reaches<>},
    {"dragslider", typeid(TDragSliderObject), 36, M, _, Reaches<TSliderObject>},
    {"springedobj", typeid(TSpringedObject), 37, M, _, Reaches<TDragSliderObject, TSliderObject>},
    {"timer", typeid(TTimerObject), 0, _, _, Reaches<>},
    {"shape", typeid(TShapeObject), 45, _, _, Reaches<>},
    {"focuser", typeid(TFocuserObject), 60, _, _, Reaches<>},
    {"ghost", typeid(TGhostObject), 22, _, _, Reaches<TVideoObject, TVideoWindowDataListener>},
    {"infrared", typeid(TInfraredObject), 23, _, _, Reaches<>},
    {"clockarrow", typeid(TClockArrowObject), 20, M, _, Reaches<>},
    {"limitedarrow", typeid(TLimitedArrowObject), 29, M, _, Reaches<TDragClockArrowObject, TClockArrowObject>},
    {"clock", typeid(TClockObject), 21, _, _, Reaches<>},
    {"video", typeid(TVideoObject), 10, _, _, Reaches<TVideoWindowDataListener>},
    {"animfile", typeid(TAnimFileObject), 39, _, _, Reaches<>},
    {"transp", typeid(TTransparentObject), 40, _, C, Reaches<>},
    {"bring_to_top", typeid(TBringToTopObject), 41, _, C, Reaches<>},
    {"group", typeid(TGroupObject), 42, _, C, Reaches<>},
    {"fgroup", typeid(TFoudedGroupObject), 42, _, C, Reaches<TGroupObject>},
    {"slide_rotator", typeid(TSlideImageRotator), 43, _, _, Reaches<>},
    {"case_lock", typeid(TCaseLockObject), 44, _, C, Reaches<TSlideRotatorListener>},
    {"rotator", typeid(TRotatorObject), 46, _, _, Reaches<TRotationEffectListener>},
    {"counter", typeid(TActivateCounter), 48, _, _, Reaches<>},
    {"textinfo", typeid(TTextInfoObject), 49, _, _, Reaches<>},
    {"textinfoswitch", typeid(TTextInfoSwitchImageObject), 50, _, _, Reaches<TTextInfoObject>},
    {"morph_obj", typeid(TMorphingObject), 51, _, _, Reaches<>},
    {"double_morph_obj", typeid(TDoubleMorphingObject), 51, _, _, Reaches<TMorphingObject>},
    {"morph_obj2", typeid(TMorphingObject2), 52, _, _, Reaches<>},
    {"map_obj", typeid(TMapObject), 53, _, _, Reaches<>},
    {"sound_obj", typeid(TSoundObject), 54, _, _, Reaches<>},
    {"me_group", typeid(TMouseEventsGroup), 55, _, _, Reaches<>},
    {"dialog_obj", typeid(TDialogObject), 56, _, _, Reaches<>},
    {"uv_obj", typeid(TUVObject), 57, _, _, Reaches<>},
    {"uvspin_obj", typeid(TUVSpinObject), 59, _, _, Reaches<TUVObject>},
    {"light_obj", typeid(TLightObject), 58, _, _, Reaches<>},
    {"fading_video", typeid(TLightObject), 58, _, _, Reaches<>},
    {"delay_loops_sound", typeid(TDelayLoopsSoundObject), 62, _, _, Reaches<TTimerListener>},
    {"blending_obj", typeid(TBlendingObject), 63, _, _, Reaches<>},
    {"collection_item", typeid(TCollectionItemObject), 64, _, _, Reaches<TMyMessageListener>},
    {"note_collection", typeid(TNoteCollectionObject), 65, _, _, Reaches<>},
    {"note_collection_item", typeid(TNoteCollectionItemObject), 66, _, _, Reaches<>},
    {"doublescore", typeid(TDoubleScoreObject), 67, _, _, Reaches<>},
    {"doublescorecounter", typeid(TDoubleHOCadrObject), 69, _, _, Reaches<TCadrObject>},
    {"text_obj", typeid(TTextObject), 68, _, _, Reaches<>},
    {"change_on_click", typeid(TChangeOnClickObject), 70, _, _, Reaches<>},
    {"change_on_clickp", typeid(TChangeOnClickParentObject), 71, _, C, Reaches<>},
    {"spinner", typeid(TSpinnerObject), 72, _, _, Reaches<>},
    {"spinner_seq", typeid(TSpinnerSequenceObject), 73, _, C, Reaches<>},
    {"spinner_echo", typeid(TSpinnerEchoObject), 74, _, _, Reaches<>},
    {"click_button", typeid(TClickButtonObject), 75, _, _, Reaches<>},
    {"change_on_activate", typeid(TChangeOnActivateObject), 76, _, _, Reaches<>},
    {"change_on_activatep", typeid(TChangeOnActivateParentObject), 77, _, _, Reaches<>},
    {"finish_video_wrapper", typeid(TFinishVideoWrapperObject), 78, _, _, Reaches<TVideoObjectListener>},
    {"conjunct_weight", typeid(TConjunctWeightObject), 79, _, _, Reaches<>},
    {"conjunct_weightp", typeid(TConjunctWeightParentObject), 80, _, C, Reaches<>},
    {"weight_system", typeid(TWeightSystemObject), 83, _, _, Reaches<TMyMessageListener>},
    {"weight_part", typeid(TWeightPartObject), 82, _, _, Reaches<>},
    {"seq_show", typeid(TShowSequenceObject), 0, _, _, Reaches<>},
    {"finder_mover", typeid(TFinderMoverObject), 0, M, _, Reaches<TMoverObject>},
    {"mouse_enter", typeid(TMouseEnterObject), 84, _, _, Reaches<>},
    {"target", typeid(TTargetObject), 85, M, _, Reaches<TMoverObject>},
    {"trajectorymovercadr2", typeid(TrajectoryMoverCadrImage2Object), 0, _, _, Reaches<TrajectoryMoverCadrImage2>},
};

template <class Kind>
std::unique_ptr<Kind> Make(const std::string& name)
{
    TObject* object = TObjectFactory().CreateObject(name);
    Kind* kind = dynamic_cast<Kind*>(object);
    if (!kind) delete object;
    return std::unique_ptr<Kind>(kind);
}

// Each test leaves the application state without a factory, as shutdown does.
class ObjectFactoryTest : public ::testing::Test {
protected:
    void TearDown() override { GetAppState().mObjectFactory.reset(); }
};

}  // namespace

TEST(ObjectFactory, EveryTypeNameBuildsItsOwnKind)
{
    EXPECT_EQ(sizeof(kKinds) / sizeof(kKinds[0]), 90u);  // 89 names and ""
    TObjectFactory factory;
    for (const TKindCase& row : kKinds) {
        SCOPED_TRACE(std::string("type \"") + row.mName + "\"");
        std::unique_ptr<TObject> object(factory.CreateObject(row.mName));
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(typeid(*object) == row.mClass) << typeid(*object).name();
        EXPECT_EQ(object->GetTypeCode(), row.mCode);
        EXPECT_EQ(object->IsMovable(), row.mMovable);
        EXPECT_TRUE(row.mReachesBases(object.get()));
        EXPECT_EQ(dynamic_cast<TTransparentObject*>(object.get()) != nullptr, row.mContainer);
    }
}

TEST(ObjectFactory, NamesAreComparedWholeAndCaseSensitively)
{
    TObjectFactory factory;
    for (const char* name : {"Switcher", "SWITCHER", " switcher", "switcher ", "switch", "switcherx",
                             "TSwitcherObject", "light_obj "}) {
        TObject* object = factory.CreateObject(name);
        EXPECT_EQ(object, nullptr) << '"' << name << '"';
        delete object;
    }
}

// A movable kind records its position first; another kind starts with its visible byte.
TEST(ObjectFactory, MovableKindsSaveTheirPositionFirst)
{
    std::unique_ptr<TObject> mover = Make<TObject>("mover");
    // A kind that adds nothing to the object's record.
    std::unique_ptr<TObject> hidden = Make<TObject>("animfile");
    ASSERT_TRUE(mover && hidden);
    for (TObject* object : {mover.get(), hidden.get()}) object->SetPosition(12.5f, -3.0f, false);

    TBufferBin buffer;
    mover->TObject::SaveState(buffer);  // the object record alone: the mover's own fields follow it
    const size_t moverSize = buffer.Size();
    hidden->SaveState(buffer);
    const size_t hiddenSize = buffer.Size() - moverSize;

    ASSERT_EQ(moverSize, hiddenSize + 8);
    EXPECT_EQ(buffer.ReadInt32(), 12500);
    EXPECT_EQ(buffer.ReadInt32(), -3000);
    const std::string bytes(buffer.Bytes().begin(), buffer.Bytes().end());
    EXPECT_EQ(bytes[moverSize], 1);  // visible
    EXPECT_EQ(bytes.substr(8, hiddenSize), bytes.substr(moverSize));
}

TEST(ObjectFactory, KindsStartWithTheirOwnValues)
{
    std::unique_ptr<TCloudsObject> cloud = Make<TCloudsObject>("cloud");
    ASSERT_TRUE(cloud);
    EXPECT_TRUE(cloud->mClip);

    for (const char* name : {"places_handle_object", "places_handle_object2"}) {
        std::unique_ptr<TPlacesHandleObject> handle = Make<TPlacesHandleObject>(name);
        ASSERT_TRUE(handle) << name;
        EXPECT_EQ(handle->mMovingTime, 0.001f) << name;
        EXPECT_FALSE(handle->mAlignToCenter) << name;
    }
    for (const char* name : {"placesitems_handle_object", "placesitems_handle_object2"}) {
        std::unique_ptr<TPlacesItemsHandleObject> handle = Make<TPlacesItemsHandleObject>(name);
        ASSERT_TRUE(handle) << name;
        EXPECT_EQ(handle->mMovingTime, 0.001f) << name;
        EXPECT_FALSE(handle->mAlignToCenter) << name;
    }

    std::unique_ptr<TCaseLockObject> lock = Make<TCaseLockObject>("case_lock");
    ASSERT_TRUE(lock);
    EXPECT_EQ(lock->mDelay, 1.0f);

    std::unique_ptr<TTextInfoSwitchImageObject> info = Make<TTextInfoSwitchImageObject>("textinfoswitch");
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->mSwitch.GetSecondFlag());
    EXPECT_FALSE(info->mSwitch.mSwitched);

    std::unique_ptr<TDoubleScoreObject> score = Make<TDoubleScoreObject>("doublescore");
    ASSERT_TRUE(score);
    EXPECT_EQ(score->mTime, 7.0f);
}

TEST(ObjectFactory, SliderResetKeepsTheValueUnderADrag)
{
    for (const char* name : {"slider", "dragslider", "springedobj"}) {
        SCOPED_TRACE(name);
        std::unique_ptr<TSliderObject> slider = Make<TSliderObject>(name);
        ASSERT_TRUE(slider);
        slider->mDefaultValue = 0.2f;
        slider->mValue = 0.7f;
        slider->Reset();  // idle as built
        EXPECT_EQ(slider->mValue, 0.2f);
        slider->mValue = 0.7f;
        slider->mDragging = true;
        slider->Reset();
        EXPECT_EQ(slider->mValue, 0.7f);
    }
}

TEST(ObjectFactory, LightButtonsResetAndUnlock)
{
    std::unique_ptr<TLightCheckButtonObject> plain = Make<TLightCheckButtonObject>("light_checkbutton");
    std::unique_ptr<TLightCheckButtonObject> resetting = Make<TLightCheckButtonObject>("light_checkbutton2");
    ASSERT_TRUE(plain && resetting);
    for (TLightCheckButtonObject* button : {plain.get(), resetting.get()}) {
        button->mPushed = true;
        button->Reset();
        EXPECT_FALSE(button->mPushed);
        button->mPushed = true;
        button->mLocked = true;
        button->Unlock();
        EXPECT_FALSE(button->mLocked);
    }
    EXPECT_TRUE(plain->mPushed);
    EXPECT_FALSE(resetting->mPushed);
}

TEST(ObjectFactory, ButtonSequenceUnlockOpensEveryButtonAndForgetsThePresses)
{
    std::unique_ptr<TButtonSequenceControlObject> control =
        Make<TButtonSequenceControlObject>("button_seq_control");
    ASSERT_TRUE(control);
    TObjectFactory factory;
    auto* resetting = dynamic_cast<TLightCheckButtonObject*>(factory.CreateObject("light_checkbutton2"));
    auto* plain = dynamic_cast<TLightCheckButtonObject*>(factory.CreateObject("light_checkbutton"));
    ASSERT_TRUE(resetting && plain);
    ASSERT_TRUE(control->AddChild(resetting));
    ASSERT_TRUE(control->AddChild(plain));
    for (TObject* object : {static_cast<TObject*>(control.get()), static_cast<TObject*>(resetting),
                            static_cast<TObject*>(plain)})
        object->mLocked = true;
    resetting->mPushed = plain->mPushed = true;
    control->mPressedSequence = {"a", "b"};

    control->Unlock();

    EXPECT_FALSE(control->mLocked);
    EXPECT_FALSE(resetting->mLocked);
    EXPECT_FALSE(plain->mLocked);
    EXPECT_FALSE(resetting->mPushed);
    EXPECT_TRUE(plain->mPushed);
    EXPECT_TRUE(control->mPressedSequence.empty());
}

TEST(ObjectFactory, ImageSwitcherFlagAndCentre)
{
    TImageSwitcher switcher;
    switcher.SetSecondFlag(false);
    EXPECT_FALSE(switcher.GetSecondFlag());
    switcher.SetSecondFlag(true);
    EXPECT_TRUE(switcher.GetSecondFlag());

    // No renderer: the source rectangle alone gives the picture its 31 x 15 size.
    switcher.mFirstImage.mTransform.mSrcW = 31;
    switcher.mFirstImage.mTransform.mSrcH = 15;
    switcher.mFirstImage.SetPosition(10.7f, 20.2f, false);
    const TIntPoint centre = switcher.GetCenter();
    EXPECT_EQ(centre.x, 25);  // 10.7 + 15, cut
    EXPECT_EQ(centre.y, 27);  // 20.2 + 7, cut
}

// Catches a kind that releases what it never took, alone or over factory-built children.
TEST(ObjectFactory, EveryKindIsBuiltAndDeletedCleanly)
{
    // Scales built by earlier tests of this run brought a dispatcher into being.
    DestroyMessageManager();
    TObjectFactory factory;
    for (const TKindCase& row : kKinds) {
        SCOPED_TRACE(std::string("type \"") + row.mName + "\"");
        {
            delete factory.CreateObject(row.mName);

            std::unique_ptr<TObject> parent(factory.CreateObject(row.mName));
            ASSERT_NE(parent, nullptr);
            for (int i = 0; i < 2; ++i) ASSERT_TRUE(parent->AddChild(factory.CreateObject(row.mName)));
        }
        // Scales listen for rebalancing from the moment they are built, and leave when deleted.
        if (std::string(row.mName) == "weight_system") {
            ASSERT_NE(FindMessageManager(), nullptr);
            EXPECT_EQ(FindMessageManager()->SubscriptionCount(), 0u);
            DestroyMessageManager();
        }
        EXPECT_EQ(FindMessageManager(), nullptr);
    }
}

// A record refused for the object's own fields is refused for the kind's fields after them
// too: they are read past and nothing of them is taken, whatever they hold. Every byte one up
// changes most fields; the first byte alone keeps a value that the kind would otherwise take
// inside its range.
TEST(ObjectFactory, EveryKindTakesNothingOfARefusedRecord)
{
    const bool hadMessageManager = FindMessageManager() != nullptr;  // the scales bring one
    TObjectFactory factory;
    for (bool everyByte : {true, false}) {
        for (const TKindCase& row : kKinds) {
            SCOPED_TRACE(std::string("type \"") + row.mName + "\", " + (everyByte ? "every byte" : "first byte"));
            std::unique_ptr<TObject> source(factory.CreateObject(row.mName));
            std::unique_ptr<TObject> object(factory.CreateObject(row.mName));
            ASSERT_TRUE(source && object);
            TBaseBuffer saved;
            source->SaveState(saved);
            std::vector<uint8_t> bytes = saved.Bytes();
            // The object's own record: x and y when movable, then 21 bytes from the visible
            // flag on, the alpha second.
            const size_t alphaAt = row.mMovable ? 9 : 1;
            const size_t kindAt = alphaAt + 20;
            ASSERT_GE(bytes.size(), kindAt);
            for (size_t i = 0; i < 4; ++i) bytes[alphaAt + i] = static_cast<uint8_t>(5000u >> (8 * i));
            const size_t kindEnd = everyByte ? bytes.size() : std::min(bytes.size(), kindAt + 1);
            for (size_t i = kindAt; i < kindEnd; ++i) ++bytes[i];
            TBaseBuffer damaged;
            for (uint8_t b : bytes) damaged.WriteByte(b);

            TBaseBuffer before, after;
            object->SaveState(before);
            TLogWatch log;
            object->LoadState(damaged);
            EXPECT_EQ(log.CountStartingWith("object : saved state refused (alpha 5,"), 1u) << log.Text();
            object->SaveState(after);
            EXPECT_EQ(after.Bytes(), before.Bytes()) << (bytes.size() - kindAt) << " bytes of the kind's own";
        }
    }
    if (!hadMessageManager) DestroyMessageManager();
}

TEST_F(ObjectFactoryTest, CreateFillsAnEmptySlotWithAFactoryOfItsOwn)
{
    ASSERT_FALSE(GetAppState().mObjectFactory);
    TObjectFactory mine;
    std::unique_ptr<TObject> hidden(mine.Create("hidden"));
    EXPECT_NE(dynamic_cast<THiddenObject*>(hidden.get()), nullptr);
    TObjectFactory* made = GetAppState().mObjectFactory.get();
    ASSERT_NE(made, nullptr);
    EXPECT_NE(made, &mine);

    std::unique_ptr<TObject> mover(mine.Create("mover"));
    EXPECT_NE(dynamic_cast<TMoverObject*>(mover.get()), nullptr);
    EXPECT_EQ(GetAppState().mObjectFactory.get(), made);
    EXPECT_EQ(std::unique_ptr<TObject>(mine.Create("Mover")), nullptr);
}
