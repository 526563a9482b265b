#include "objects/container_objects.h"

TTransparentObject::~TTransparentObject() = default;
TGroupObject::~TGroupObject() = default;
TFoudedGroupObject::~TFoudedGroupObject() = default;
TBringToTopObject::~TBringToTopObject() = default;
TMouseEventsGroup::~TMouseEventsGroup() = default;
TMouseEnterObject::~TMouseEnterObject() = default;
TClockObject::~TClockObject() = default;
TClickButtonObject::~TClickButtonObject() = default;
TShutterObject::~TShutterObject() = default;
TDialogObject::~TDialogObject() = default;
