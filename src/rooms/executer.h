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

// A click on a possible item of the room's current list.
class TXOExecuter : public TExecuter {
public:
    bool OnClick(TObject* object, const TSceneMouseEvent& event) override;
};

// A click that finds nothing.
class TXOMissExecuter : public TExecuter {
public:
    bool OnClick(TObject* object, const TSceneMouseEvent& event) override;
};

// An item found without asking the list.
class TXODoubleScoresExecuter : public TExecuter {
public:
    bool OnClick(TObject* object, const TSceneMouseEvent& event) override;
};

// One tool record per accepted click.
class TGiveTool : public TExecuter {
public:
    bool OnClick(TObject* object, const TSceneMouseEvent& event) override;
};

// A tool record when a tool has been applied.
class TGiveToolAfterTool : public TExecuter {
public:
    bool OnTool(TObject* object, const TSceneMouseEvent& event) override;
};

// Tool records for clicks and tool uses alike; never hides the object.
class TToolToolExecuter : public TExecuter {
public:
    bool OnClick(TObject* object, const TSceneMouseEvent& event) override;
    bool OnTool(TObject* object, const TSceneMouseEvent& event) override;
};

// Composes an object's hint text (a localisation key) from its hint lists.
class THintExecuter : public TExecuter {
public:
    std::string GetHintText(TObject* object, const TSceneMouseEvent& event);
};

// An object of the current list that is used rather than found.
class TIteractionExecuter : public TExecuter {
public:
    bool OnClick(TObject* object, const TSceneMouseEvent& event) override;
};

// Names compare exactly, case and all.
std::map<std::string, std::unique_ptr<TExecuter>>& ExecuterRegistry();
// Stores one prototype of each kind under its name.
void RegisterExecuters(std::map<std::string, std::unique_ptr<TExecuter>>& registry);
// Null for a name the registry lacks.
TExecuter* GetExecuter(const std::string& name);
