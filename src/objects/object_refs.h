// The parsed forms of a scene object's lists: object references grouped per use, task and
// name groups, event flags, profile states and tool records, with the parsers that the
// objects, the space file and the items lists share.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TObject;
class TiXmlElement;

// "outer.inner.object": the last part always names the object.
struct TObjectRef {
    std::string mOuter;
    std::string mInner;
    std::string mObject;
};

// One item of a flag list: a game event record.
struct TFlagRef {
    std::string mName;
    int32_t mValue = 0;
    std::string mText;
};

struct TStateRef {
    std::string mFirst;
    std::string mSecond;
};

struct TObjectToolRecord {
    TObjectToolRecord() = default;
    TObjectToolRecord(const std::string& toolName, int32_t mode, const std::string& option, TObject* owner)
        : mToolName(toolName), mOption(option), mMode(mode), mOwner(owner)
    {
    }

    std::string mToolName;
    std::string mOption;
    int32_t mMode = 0;  // 0, 1 or 2
    bool mUsed = false;
    TObject* mOwner = nullptr;  // not owned; may be null
};

struct TWrongToolHint {
    bool LoadXml(const TiXmlElement* element);

    std::string mTool;
    std::vector<std::string> mHints;
};

// Texture pixels.
struct TFrameRect {
    int32_t mLeft = 0;
    int32_t mTop = 0;
    int32_t mRight = 0;
    int32_t mBottom = 0;
};

// The same names as the listeners use; group i serves the i-th use.
using TObjectRefGroup = std::vector<TObjectRef>;
using TNameGroup = std::vector<std::string>;
using TToolRecordList = std::vector<TObjectToolRecord>;
using TObjectRefList = std::vector<TObjectRefGroup>;
using TNameList = std::vector<TNameGroup>;
using TFlagRefList = std::vector<std::vector<TFlagRef>>;
using TStateRefList = std::vector<std::vector<TStateRef>>;

// Groups at ';', items at ',', names at '.'. Clears the list first; the alias text serves
// when the text is empty.
void ParseObjectRefList(TObjectRefList& list, const std::string& text, const std::string& aliasText);
// These three leave the list as it was for an empty text.
void ParseNameList(TNameList& list, const std::string& text);
void ParseValueRefList(TFlagRefList& list, const std::string& text);
void ParseNamePairList(TStateRefList& list, const std::string& text);

// Frames cut row by row from a sheet "sheetWidth" wide. The caller guarantees
// 0 < frameWidth <= sheetWidth; coordinates past the int range are clamped.
TFrameRect ComputeFrameRect(int index, int frameWidth, int frameHeight, int sheetWidth);

// Copies of every tool record handed out while the program runs.
TToolRecordList& GivenToolRecords();
