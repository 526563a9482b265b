// A widget that writes every call it gets into a test's log, for the window manager tests.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/cursors.h"
#include "ui/window.h"

using TLog = std::vector<std::string>;

inline std::string Point(const TMouseEvent& e) { return std::to_string(e.mX) + "," + std::to_string(e.mY); }

// Writes every call it gets into the test's log.
struct TSpy : TMyWindow {
    TLog* mLog;
    std::function<void()> mOnUpdate;
    TSpy(TLog* log, const char* name, int x, int y, int w, int h) : mLog(log)
    {
        mName = name;
        SetRect(x, y, w, h);
    }
    ~TSpy() override { Note("deleted"); }
    void Note(const std::string& what) { mLog->push_back(mName + " " + what); }
    bool Update(float dt) override
    {
        Note("update");
        if (mOnUpdate) mOnUpdate();
        return TMyWindow::Update(dt);
    }
    void Draw() override
    {
        if (mNoteDraws) Note("draw");
    }
    bool mNoteDraws = false;
    void OnMouseDown(const TMouseEvent& e) override { Note("down " + Point(e) + " b" + std::to_string(e.mButtons)); }
    void OnMouseUp(const TMouseEvent& e) override { Note("up " + Point(e) + " b" + std::to_string(e.mButtons)); }
    void OnMouseMove(const TMouseEvent& e) override { Note("move " + Point(e)); }
    void OnMouseDrag(const TMouseEvent& e) override { Note("drag " + Point(e) + " b" + std::to_string(e.mButtons)); }
    void OnMouseWheel(const TMouseEvent& e) override
    {
        Note("wheel " + Point(e) + " b" + std::to_string(e.mButtons));
    }
    void OnDoubleClick(const TMouseEvent& e) override { Note("double " + Point(e)); }
    void OnMouseEnter() override
    {
        TMyWindow::OnMouseEnter();
        Note("enter");
        if (mHandCursor) GetGameCursors()->Select("text");  // the flag's "hand" must win over this
    }
    void OnMouseLeave() override
    {
        Note("leave");
        TMyWindow::OnMouseLeave();  // last: its listener may delete this widget
    }
    void Show() override
    {
        TMyWindow::Show();
        Note("shown");
    }
    void Hide() override
    {
        TMyWindow::Hide();
        Note("hidden");
    }
    // Keys and text go on to the children, as the base does; the spy always takes the key.
    bool OnKeyDown(const TKeyEvent* key) override
    {
        Note("key " + std::to_string(key->mKey));
        TMyWindow::OnKeyDown(key);
        return true;
    }
    bool OnKeyUp(const TKeyEvent* key) override
    {
        Note("keyup " + std::to_string(key->mKey));
        TMyWindow::OnKeyUp(key);
        return true;
    }
    void OnTextInput(int32_t c) override
    {
        Note("text " + std::to_string(c));
        TMyWindow::OnTextInput(c);
    }
};

