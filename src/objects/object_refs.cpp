#include "objects/object_refs.h"

#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"

bool TWrongToolHint::LoadXml(const TiXmlElement* element)
{
    mTool = GetAttrString(element, "tool", "");
    GetAttrList(element, "hints", ',', mHints);
    return true;
}

void ParseObjectRefList(TObjectRefList& list, const std::string& text, const std::string& aliasText)
{
    list.clear();
    const std::string& used = text.empty() ? aliasText : text;
    const std::vector<std::vector<std::string>> groups = SplitGroups(used, ';', ',');
    std::vector<std::string> names;
    list.resize(groups.size());
    for (size_t g = 0; g < groups.size(); ++g) {
        for (const std::string& item : groups[g]) {
            TObjectRef ref;
            switch (SplitString(item, '.', names)) {
            case 1:
                ref.mObject = names[0];
                break;
            case 2:
                ref.mOuter = names[0];
                ref.mObject = names[1];
                break;
            case 3:
                ref.mOuter = names[0];
                ref.mInner = names[1];
                ref.mObject = names[2];
                break;
            default:  // four or more parts keep their place as an empty reference
                break;
            }
            list[g].push_back(ref);
        }
    }
}

namespace {
// Splits a non-empty text at ';' and each group at ','; every item becomes one record.
template <class Record, class Fill>
void ParseGroups(std::vector<std::vector<Record>>& list, const std::string& text, Fill fill)
{
    if (text.empty()) return;
    const std::vector<std::vector<std::string>> groups = SplitGroups(text, ';', ',');
    list.resize(groups.size());
    for (size_t g = 0; g < groups.size(); ++g) {
        list[g].clear();
        for (const std::string& item : groups[g]) list[g].push_back(fill(item));
    }
}
}  // namespace

void ParseNameList(TNameList& list, const std::string& text)
{
    ParseGroups(list, text, [](const std::string& item) { return item; });
}

void ParseValueRefList(TFlagRefList& list, const std::string& text)
{
    ParseGroups(list, text, [](const std::string& item) {
        std::vector<std::string> fields;
        TFlagRef flag;
        switch (SplitString(item, '.', fields)) {
        case 1:
            flag.mName = fields[0];
            break;
        case 2:
            // "name.3" is a value; "name.word" and "name.0" are a text
            flag.mName = fields[0];
            flag.mValue = ParseIntClamped(fields[1].c_str());
            if (flag.mValue == 0) flag.mText = fields[1];
            break;
        case 3:
            flag.mName = fields[0];
            flag.mValue = ParseIntClamped(fields[1].c_str());
            flag.mText = fields[2];
            break;
        default:
            break;
        }
        return flag;
    });
}

void ParseNamePairList(TStateRefList& list, const std::string& text)
{
    ParseGroups(list, text, [](const std::string& item) {
        std::vector<std::string> parts;
        TStateRef state;
        if (SplitString(item, '.', parts) == 2) {
            state.mFirst = parts[0];
            state.mSecond = parts[1];
        }
        return state;
    });
}

TFrameRect ComputeFrameRect(int index, int frameWidth, int frameHeight, int sheetWidth)
{
    // 64 bits: tall frames or many rows would overflow int.
    const long long columns = sheetWidth / frameWidth;
    const long long column = index % columns;
    const long long row = index / columns;
    TFrameRect rect;
    rect.mLeft = ClampToInt(column * frameWidth);
    rect.mTop = ClampToInt(row * frameHeight);
    rect.mRight = ClampToInt(column * frameWidth + frameWidth);
    rect.mBottom = ClampToInt(row * frameHeight + frameHeight);
    return rect;
}

TToolRecordList& GivenToolRecords()
{
    static TToolRecordList records;
    return records;
}
