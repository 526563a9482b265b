// The dialog where a new player types a name.
#pragma once
#include "ui/window.h"

class TUserNameWindowListener {
public:
    virtual ~TUserNameWindowListener() = default;
};

class TUserNameWindow : public TMyWindow {
public:
    explicit TUserNameWindow(TUserNameWindowListener* listener) : mListener(listener) {}
    TUserNameWindowListener* mListener;
};
