// Executers: named, stateless actions that scene objects delegate clicks, tool uses and
// hint requests to. One shared prototype per name lives in the registry; objects hold plain
// pointers to them.
#pragma once
#include <map>
#include <memory>
#include <string>

class TObject;
struct TSceneMouseEvent;

class TExecuter {
public:
    virtual ~TExecuter() = default;
    // False vetoes the tool before the object's own lists are asked.
    virtual bool AcceptsTool(TObject* /*object*/, const std::string& /*toolPart*/) { return true; }
    // False makes the object ignore the press.
    virtual bool Hook2(TObject* /*object*/, const TSceneMouseEvent& /*event*/) { return true; }
    virtual bool OnClick(TObject* /*object*/, const TSceneMouseEvent& /*event*/) { return false; }
    virtual bool OnTool(TObject* /*object*/, const TSceneMouseEvent& /*event*/) { return false; }
    virtual bool Hook5(TObject* /*object*/, const TSceneMouseEvent& /*event*/) { return false; }
    virtual bool OnMouseOver(TObject* /*object*/, const TSceneMouseEvent& /*event*/) { return false; }
    virtual bool OnMouseUp(TObject* /*object*/, const TSceneMouseEvent& /*event*/) { return false; }
    virtual void Hook8(TObject* /*object*/, float /*dt*/) {}
};

// Names compare exactly, case and all.
std::map<std::string, std::unique_ptr<TExecuter>>& ExecuterRegistry();
// Null for a name the registry lacks.
TExecuter* GetExecuter(const std::string& name);
