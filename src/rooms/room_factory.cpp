#include "rooms/room_factory.h"

#include "core/app_state.h"
#include "rooms/pocket.h"
#include "rooms/random_effectors.h"

void DeleteOwned(TRoomFactory* factory) { delete factory; }

void DeleteOwned(TEffectorsFactory* factory) { delete factory; }

namespace {
bool gRoomFactoryShutDown = false;
}  // namespace

void SetRoomFactoryShutDown(bool down) { gRoomFactoryShutDown = down; }

TRoom* TRoomFactory::Create(const std::string& /*type*/)
{
    TAppState& app = GetAppState();
    if (!app.mRoomFactory && !gRoomFactoryShutDown) app.mRoomFactory.reset(new TRoomFactory());
    return new TRoom();
}

TEffector* TBaseEffectorsFactory::Create(const std::string& type)
{
    TAppState& app = GetAppState();
    if (!app.mEffectorsFactory) app.mEffectorsFactory.reset(new TEffectorsFactory());
    return CreateEffector(type);
}

TEffector* CreateSpaceEffector(const std::string& type)
{
    if (type.empty()) return new TEffector();
    if (type == "cadr") return new TCadrEffector();
    if (type == "parent_signal") return new TParentSignalEffector();
    if (type == "random") return new TRandomEffector();
    if (type == "randomsv") return new TRandomEffectorOwnSV();
    if (type == "trajectory") return new TTrajectoryEffector();
    return nullptr;
}

TEffector* TEffectorsFactory::CreateEffector(const std::string& type)
{
    if (TEffector* effector = CreateSpaceEffector(type)) return effector;
    if (type == "showpocket") return new TShowPocketEffector();
    if (type == "shake") return new TShakeEffector();
    return nullptr;
}
