// A listener that writes what objects report into lines "<call> <object>", and a press, a
// move and a release at a point. Objects that should report their event reactions read
// "aae='x'": group 0 of that list reaches the listener as an "activate" line.
#pragma once
#include <string>
#include <vector>

#include "objects/object.h"
#include "rooms/scene_listeners.h"
#include "objects/scene_press.h"
#include "rooms/scene_mouse_event.h"

using TTrace = std::vector<std::string>;

class TReactionRecorder : public TObjectListener {
public:
    std::vector<std::string> mCalls;

    int Count(const std::string& line) const
    {
        int n = 0;
        for (const std::string& call : mCalls) n += call == line;
        return n;
    }

    void ActivateObjects(const TObjectRefGroup* /*group*/) override { mCalls.push_back("activate"); }
    bool OnObjectActivated(TObject* object) override { return Record("activated", object); }
    void OnObjectMouseDown(TObject* object, const TSceneMouseEvent& /*event*/) override { Record("down", object); }
    void OnObjectMouseUp(TObject* object, const TSceneMouseEvent& /*event*/) override { Record("up", object); }
    void OnObjectMouseEnter(TObject* object, const TSceneMouseEvent& /*event*/) override { Record("enter", object); }
    void OnObjectMouseLeave(TObject* object, const TSceneMouseEvent& /*event*/) override { Record("leave", object); }
    void OnObjectMouseOver(TObject* object, const TSceneMouseEvent& /*event*/) override { Record("over", object); }

private:
    bool Record(const char* call, TObject* object)
    {
        mCalls.push_back(std::string(call) + " " + object->GetName());
        return false;
    }
};

