// Containers and the hover and click objects: invisible groups that pass the mouse to their
// children, a group brought to the top, a clock with its hands, buttons, shutters and dialogs.
#pragma once
#include "graphics/trajectories.h"
#include "objects/object.h"

// The invisible container whose mouse handling goes to its children; the base of every
// container kind of the other files.
class TTransparentObject : public TObject {
public:
    ~TTransparentObject() override;
    int GetTypeCode() const override { return 40; }
};

class TGroupObject : public TTransparentObject {
public:
    ~TGroupObject() override;
    int GetTypeCode() const override { return 42; }
};

class TFoudedGroupObject : public TGroupObject {
public:
    ~TFoudedGroupObject() override;
};

class TBringToTopObject : public TTransparentObject {
public:
    ~TBringToTopObject() override;
    int GetTypeCode() const override { return 41; }
};

class TMouseEventsGroup : public TObject {
public:
    ~TMouseEventsGroup() override;
    int GetTypeCode() const override { return 55; }
};

class TMouseEnterObject : public TObject {
public:
    ~TMouseEnterObject() override;
    int GetTypeCode() const override { return 84; }
};

class TClockObject : public TObject {
public:
    ~TClockObject() override;
    int GetTypeCode() const override { return 21; }
};

class TClickButtonObject : public TObject {
public:
    ~TClickButtonObject() override;
    int GetTypeCode() const override { return 75; }
};

class TShutterObject : public TObject {
public:
    ~TShutterObject() override;
    int GetTypeCode() const override { return 34; }
    bool IsMovable() const override { return true; }

    TLineMover mMover;
};

class TDialogObject : public TObject {
public:
    ~TDialogObject() override;
    int GetTypeCode() const override { return 56; }
};
