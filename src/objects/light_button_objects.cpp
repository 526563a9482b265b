#include "objects/light_button_objects.h"

TLightCheckButtonObject::~TLightCheckButtonObject() = default;

void TLightCheckButtonObject::Reset()
{
    mPushed = false;
}

TLCBResetOnUnlockObject::~TLCBResetOnUnlockObject() = default;

void TLCBResetOnUnlockObject::Unlock()
{
    TObject::Unlock();
    Reset();
}

TButtonSequenceControlObject::~TButtonSequenceControlObject() = default;

// A fresh start: the buttons open again and the presses so far no longer count.
void TButtonSequenceControlObject::Unlock()
{
    TObject::Unlock();
    for (auto& child : mChildren) child->Unlock();
    mPressedSequence.clear();
}

TChangeOnClickObject::~TChangeOnClickObject() = default;
TChangeOnClickParentObject::~TChangeOnClickParentObject() = default;
TChangeOnActivateObject::~TChangeOnActivateObject() = default;
TChangeOnActivateParentObject::~TChangeOnActivateParentObject() = default;
