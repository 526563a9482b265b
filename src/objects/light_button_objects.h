// Light buttons, button sequences and the objects that change their picture on a click or
// an activation.
#pragma once
#include <string>
#include <vector>

#include "core/messages.h"
#include "objects/container_objects.h"

class TLightCheckButtonObject : public TObject {
public:
    ~TLightCheckButtonObject() override;
    int GetTypeCode() const override { return 27; }
    void Reset() override;  // light off

    bool mPushed = false;
};

// Unlocking turns its light off.
class TLCBResetOnUnlockObject : public TLightCheckButtonObject {
public:
    ~TLCBResetOnUnlockObject() override;
    int GetTypeCode() const override { return 28; }
    void Unlock() override;
};

// Its buttons are its children, to be pressed in the right order.
class TButtonSequenceControlObject : public TObject {
public:
    ~TButtonSequenceControlObject() override;
    int GetTypeCode() const override { return 17; }
    void Unlock() override;

    std::vector<std::string> mRightSequence;    // "right_seq"
    std::vector<std::string> mPressedSequence;  // child names in press order
    std::string mGameStateKey;                  // "hasgamestate"
    TTimer mUnlockTimer;
    std::string mErrorHint;   // "ehint"
    std::string mWrongSound;  // "wrongsound"
};

class TChangeOnClickObject : public TObject {
public:
    ~TChangeOnClickObject() override;
    int GetTypeCode() const override { return 70; }
};

class TChangeOnClickParentObject : public TTransparentObject {
public:
    ~TChangeOnClickParentObject() override;
    int GetTypeCode() const override { return 71; }
};

class TChangeOnActivateObject : public TObject {
public:
    ~TChangeOnActivateObject() override;
    int GetTypeCode() const override { return 76; }
};

class TChangeOnActivateParentObject : public TObject {
public:
    ~TChangeOnActivateParentObject() override;
    int GetTypeCode() const override { return 77; }
};
