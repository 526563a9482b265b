// Recording listeners of dialogs and of the tutorial hint, for the tests of the screens that
// open them.
#pragma once
#include <string>

#include "ui/classic_window.h"
#include "ui/tutorial_window.h"
#include "ui/widget_spy.h"

struct TFlySpy : TFlyWindowListener {
    TLog* mLog;
    explicit TFlySpy(TLog* log) : mLog(log) {}
    static std::string Id(int id) { return std::to_string(id); }
    void OnFlyInStarted(TFlyWindow*, int id) override { mLog->push_back("fly in started " + Id(id)); }
    void OnFlyShown(TFlyWindow*, int id) override { mLog->push_back("fly shown " + Id(id)); }
    void OnFlyClosed(TFlyWindow*, int id, int result) override
    {
        mLog->push_back("fly closed " + Id(id) + " result " + Id(result));
    }
    void OnFlyButton(int parentId, TMyWindow*, int buttonId, TMyButton*) override
    {
        mLog->push_back("fly button " + Id(parentId) + " " + Id(buttonId));
    }
    void OnFlyClosing(TFlyWindow*, int id) override { mLog->push_back("fly closing " + Id(id)); }
    void OnFlyWindowShown(TFlyWindow*, int id) override { mLog->push_back("window shown " + Id(id)); }
    void OnFlyWindowHidden(TFlyWindow*, int id) override { mLog->push_back("window hidden " + Id(id)); }
};

struct TTutorialSpy : TMyTutorialWindowListener {
    TLog* mLog;
    explicit TTutorialSpy(TLog* log) : mLog(log) {}
    void OnTutorialClosed(const std::string& name) override { mLog->push_back("tutorial closed " + name); }
};
