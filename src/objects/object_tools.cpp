// The object's use counters, tool-record hand-out and hint texts.
#include "objects/object.h"
#include "rooms/executer.h"
#include "rooms/scene_listeners.h"
#include "rooms/ghost_catcher_tool.h"

void TObject::ExhaustUses()
{
    if (!mNeededTools.empty())
        mToolCounter = mMaxToolUses;
    else
        mClickCounter = mMaxClicks;
}

bool TObject::UseToolRecord(int index, TToolRecordList& records)
{
    if (records.empty() || index < 0 || static_cast<size_t>(index) >= records.size()) return false;
    TObjectToolRecord& record = records[static_cast<size_t>(index)];
    record.mUsed = true;
    if (record.mMode == 0 && mListener) {
        const TToolRecordList handed{record};
        mListener->RunCommands(&handed, this, 0.1f);
    }
    GivenToolRecords().push_back(record);
    if (mListener) mListener->OnObjectActivated(this);
    return true;
}

std::string TObject::GetWrongToolSound(TTool* tool)
{
    if (tool && tool->GetType() == TGhostCatcherTool::kType) return std::string();
    mWrongToolPressed = false;
    return "WrongTool1";
}

std::string TObject::GetHintText(const TSceneMouseEvent& event)
{
    // Any registered executer may be named as the hint executer; only the hint kind has texts.
    auto* hint = dynamic_cast<THintExecuter*>(mHintExecuter);
    return hint ? hint->GetHintText(this, event) : std::string();
}
