// An owner of rooms that records, besides the lists it is handed, the xo notices and the
// tools of found list entries.
#pragma once
#include <string>
#include <vector>

#include "objects/object_refs.h"
#include "rooms/test_space.h"

// The owner of a room: the tool-list calls and the xo notices as well.
class TXoOwner : public TRecordingOwner {
public:
    void OnXoItemFound(TObject* object, TRoom* room) override { mXo.push_back({"found", object, room}); }
    void OnXoMiss(TObject* object, TRoom* room) override { mXo.push_back({"miss", object, room}); }
    void OnXoInteraction(TObject* object, TRoom* room) override { mXo.push_back({"interaction", object, room}); }
    void OnListToolFound(const TObjectToolRecord& record) override { mListTools.push_back(record.mToolName); }

    struct TNotice {
        std::string mWhat;
        TObject* mObject;
        TRoom* mRoom;
    };
    std::vector<TNotice> mXo;
    std::vector<std::string> mListTools;
};
