// Text labels and the one-line entry field as windows build them from "imagetext" and "edit"
// descriptions: the label keeps its localisation key and looked-up text, the field its
// listener.
#pragma once
#include <string>

#include "ui/window.h"

class TUIImageText;
class TUIEdit;

class TSimpleTextImage : public TMyWindow {
public:
    TSimpleTextImage() = default;
    int GetKind() const override { return kKindText; }
    void ApplyInfo(const TUIImageText* d);
    void SetTextKey(const std::string& key);
    void RefreshText() override;
    void ClearText() { SetTextKey(std::string()); }

    std::string mKey;
    std::wstring mText;
    bool mWrapped = false;
};

TSimpleTextImage* CreateTextImage(const TUIImageText* d, TMyWindow* parent);

class TMyEditListener {
public:
    virtual ~TMyEditListener() = default;
    virtual void EmptyHook(int /*editId*/, int /*value*/) {}
    virtual void OnEditEnter(int /*editId*/, const std::wstring& /*text*/) {}
    virtual bool AcceptKey(int /*editId*/, int /*key*/) { return true; }
    virtual bool AcceptChar(int /*editId*/, int /*character*/) { return true; }
    virtual bool AcceptText(int /*editId*/, const std::wstring& /*text*/) { return true; }
    virtual bool TrueHook(int /*editId*/, int /*value*/) { return true; }
};

class TMyEditWindow : public TMyWindow {
public:
    explicit TMyEditWindow(TMyWindow* parent);
    void ApplyInfo(const TUIEdit* d);

    TMyEditListener* mEditListener = nullptr;
};

TMyEditWindow* CreateEditWindow(const TUIEdit* d, TMyWindow* parent);
