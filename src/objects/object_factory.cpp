#include "objects/object_factory.h"

#include <new>

#include "core/app_state.h"
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
#include "objects/place_objects.h"
#include "objects/sequence_objects.h"
#include "objects/shape_text_objects.h"
#include "objects/slide_rotator_objects.h"
#include "objects/slider_objects.h"
#include "objects/timer_objects.h"
#include "objects/weight_objects.h"

void DeleteOwned(TObjectFactory* factory) { delete factory; }

namespace {

template <class T>
TObject* Build()
{
    // Default-initialised on purpose: "new T()" would zero a kind without a constructor of
    // its own and hide a member without an initialiser until that kind gets one.
    return new T;
}

struct TKindRow {
    const char* mName;
    TObject* (*mBuild)();
};

const TKindRow kKinds[] = {
    {"", Build<TObject>},
    {"switcher", Build<TSwitcherObject>},
    {"hidden", Build<THiddenObject>},
    {"mover", Build<TMoverObject>},
    {"arc_mover", Build<TArcMoverObject>},
    {"shutter_object", Build<TShutterObject>},
    {"multytool", Build<TMultyToolObject>},
    {"particle", Build<TParticleObject>},
    {"cloud", Build<TCloudsObject>},
    {"animlinemover", Build<TLineMovingAnimObject>},
    {"anim", Build<TAnimObject>},
    {"cadrobj", Build<TCadrObject>},
    {"cadritemsobj", Build<TCadrItemsObject>},
    {"udflex", Build<TUDFlexibleObject>},
    {"tag_object", Build<TTagObject>},
    {"labyrinth_object", Build<TLabyrinthObject>},
    {"balance_object", Build<TBalanceObject>},
    {"places_object", Build<TPlacesObject>},
    {"places_handle_object", Build<TPlacesHandleObject>},
    {"places_handle_object2", Build<TPlacesHandleObject>},
    {"placesitems_object", Build<TPlacesItemsObject>},
    {"placesitems_handle_object", Build<TPlacesItemsHandleObject>},
    {"placesitems_handle_object2", Build<TPlacesItemsHandleObject>},
    {"ball_shooter_object", Build<TBallShooterObject>},
    {"asterix", Build<TAsterixObject>},
    {"gun_ball", Build<TGunBallObject>},
    {"moving_clock_arrow", Build<TMovingClockArrowObject>},
    {"button_seq_control", Build<TButtonSequenceControlObject>},
    {"light_checkbutton", Build<TLightCheckButtonObject>},
    {"light_checkbutton2", Build<TLCBResetOnUnlockObject>},
    {"slider", Build<TSliderObject>},
    {"dragslider", Build<TDragSliderObject>},
    {"springedobj", Build<TSpringedObject>},
    {"timer", Build<TTimerObject>},
    {"shape", Build<TShapeObject>},
    {"focuser", Build<TFocuserObject>},
    {"ghost", Build<TGhostObject>},
    {"infrared", Build<TInfraredObject>},
    {"clockarrow", Build<TClockArrowObject>},
    {"limitedarrow", Build<TLimitedArrowObject>},
    {"clock", Build<TClockObject>},
    {"video", Build<TVideoObject>},
    {"animfile", Build<TAnimFileObject>},
    {"transp", Build<TTransparentObject>},
    {"bring_to_top", Build<TBringToTopObject>},
    {"group", Build<TGroupObject>},
    {"fgroup", Build<TFoudedGroupObject>},
    {"slide_rotator", Build<TSlideImageRotator>},
    {"case_lock", Build<TCaseLockObject>},
    {"rotator", Build<TRotatorObject>},
    {"counter", Build<TActivateCounter>},
    {"textinfo", Build<TTextInfoObject>},
    {"textinfoswitch", Build<TTextInfoSwitchImageObject>},
    {"morph_obj", Build<TMorphingObject>},
    {"double_morph_obj", Build<TDoubleMorphingObject>},
    {"morph_obj2", Build<TMorphingObject2>},
    {"map_obj", Build<TMapObject>},
    {"sound_obj", Build<TSoundObject>},
    {"me_group", Build<TMouseEventsGroup>},
    {"dialog_obj", Build<TDialogObject>},
    {"uv_obj", Build<TUVObject>},
    {"uvspin_obj", Build<TUVSpinObject>},
    {"light_obj", Build<TLightObject>},
    {"fading_video", Build<TLightObject>},
    {"delay_loops_sound", Build<TDelayLoopsSoundObject>},
    {"blending_obj", Build<TBlendingObject>},
    {"collection_item", Build<TCollectionItemObject>},
    {"note_collection", Build<TNoteCollectionObject>},
    {"note_collection_item", Build<TNoteCollectionItemObject>},
    {"doublescore", Build<TDoubleScoreObject>},
    {"doublescorecounter", Build<TDoubleHOCadrObject>},
    {"text_obj", Build<TTextObject>},
    {"change_on_click", Build<TChangeOnClickObject>},
    {"change_on_clickp", Build<TChangeOnClickParentObject>},
    {"spinner", Build<TSpinnerObject>},
    {"spinner_seq", Build<TSpinnerSequenceObject>},
    {"spinner_echo", Build<TSpinnerEchoObject>},
    {"click_button", Build<TClickButtonObject>},
    {"change_on_activate", Build<TChangeOnActivateObject>},
    {"change_on_activatep", Build<TChangeOnActivateParentObject>},
    {"finish_video_wrapper", Build<TFinishVideoWrapperObject>},
    {"conjunct_weight", Build<TConjunctWeightObject>},
    {"conjunct_weightp", Build<TConjunctWeightParentObject>},
    {"weight_system", Build<TWeightSystemObject>},
    {"weight_part", Build<TWeightPartObject>},
    {"seq_show", Build<TShowSequenceObject>},
    {"finder_mover", Build<TFinderMoverObject>},
    {"mouse_enter", Build<TMouseEnterObject>},
    {"target", Build<TTargetObject>},
    {"trajectorymovercadr2", Build<TrajectoryMoverCadrImage2Object>},
};

}  // namespace

TObject* TObjectFactory::Create(const std::string& type)
{
    TAppState& app = GetAppState();
    if (!app.mObjectFactory) {
        try {
            app.mObjectFactory.reset(new TObjectFactory());
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    return app.mObjectFactory->CreateObject(type);
}

TObject* TObjectFactory::CreateObject(const std::string& type)
{
    for (const TKindRow& row : kKinds) {
        if (type != row.mName) continue;
        // Strings and images allocate inside the constructors, so running out of memory
        // shows as an exception there: the loader only needs the null.
        try {
            return row.mBuild();
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    return nullptr;
}
