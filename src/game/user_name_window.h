// The dialog where a new player types a name.
#pragma once
#include "ui/window.h"

class TUserNameWindowListener {
public:
    virtual ~TUserNameWindowListener() = default;
};

class TUserNameWindow : public TMyWindow {
public:
    explicit TUserNameWindow(TUserNameWindowListener* listener) : mNameListener(listener)
    {
        mId = 101;
        mWidth = 1366;
        mHeight = 768;
    }
    int GetKind() const override { return kKindFlyWindow; }
    TUserNameWindowListener* mNameListener;
};
