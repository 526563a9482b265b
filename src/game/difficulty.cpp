#include "game/difficulty.h"

#include <memory>

#include "core/buffer.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"

namespace {
TDifficultyRanges* gRanges = nullptr;
std::vector<std::unique_ptr<TMosaicStar>> gStars;
}  // namespace

void TBasePaintByNumberSettings::LoadBinary(TBaseBuffer& buffer)
{
    fillcolorrecharge = buffer.ReadInt32();
    usetimer = buffer.ReadInt32();
    maxerrorscount = buffer.ReadInt32();
    secsperonecell = buffer.ReadMilli();
}

void TBasePaintByNumberSettings::SaveBinary(TBaseBuffer& buffer) const
{
    buffer.WriteInt32(fillcolorrecharge);
    buffer.WriteInt32(usetimer);
    buffer.WriteInt32(maxerrorscount);
    buffer.WriteMilli(secsperonecell);
}

void TBasePaintByNumberSettings::LoadXml(const TiXmlElement* element)
{
    fillcolorrecharge = GetAttrInt(element, "fillcolorrecharge", fillcolorrecharge);
    usetimer = GetAttrInt(element, "usetimer", usetimer);
    maxerrorscount = GetAttrInt(element, "maxerrorscount", maxerrorscount);
    secsperonecell = GetAttrFloat(element, "secsperonecell", secsperonecell);
}

void TDifficultyRanges::LoadXml(const TiXmlElement* root)
{
    if (!root) return;
    fillcolorrechargemin = GetAttrInt(root, "fillcolorrechargemin", 30);
    fillcolorrechargemax = GetAttrInt(root, "fillcolorrechargemax", 120);
    errorsmin = GetAttrInt(root, "errorsmin", 1);
    errorsmax = GetAttrInt(root, "errorsmax", 15);
    secsperonecellmin = GetAttrInt(root, "secsperonecellmin", 2);
    secsperonecellmax = GetAttrInt(root, "secsperonecellmax", 10);
    // The over colours share this root; only the presets are ours.
    for (const TiXmlElement* child = root->FirstChildElement("settings"); child;
         child = child->NextSiblingElement("settings")) {
        presets.emplace_back();
        presets.back().LoadXml(child);
    }
}

TDifficultyRanges* GetDifficultyRanges()
{
    if (!gRanges) gRanges = new TDifficultyRanges();
    return gRanges;
}

void DestroyDifficultyRanges()
{
    delete gRanges;
    gRanges = nullptr;
}

std::wstring TMosaicStar::GetDescription(const TLevelPlayStats& /*stats*/) const
{
    return GetLocalization()->GetText(mDescriptionKey);
}

bool TMosaicStar90Time::Check(const TLevelPlayStats& stats) const
{
    // In float on purpose: with no time allowed the ratio is inf or NaN and the rule fails.
    float ratio = stats.mSecondsUsed * 100.0f / stats.mSecondsAllowed;
    return static_cast<float>(mPercent) >= ratio;
}

std::string FormatStarTime(float seconds)
{
    int t = TruncToInt(seconds);
    int minutes = t / 60 % 60;
    int secs = t % 60;
    if (minutes < 0) minutes = 0;
    if (secs < 0) secs = 0;
    return FormatString(secs > 9 ? "%d : %d" : "%d : 0%d", minutes, secs);
}

std::wstring TMosaicStar90Time::GetDescription(const TLevelPlayStats& stats) const
{
    std::wstring text = TMosaicStar::GetDescription(stats);
    std::string narrow = FormatStarTime(stats.mSecondsAllowed);
    std::wstring time = WidenAscii(narrow);
    for (size_t pos = text.find(L"$$"); pos != std::wstring::npos; pos = text.find(L"$$", pos + time.size()))
        text.replace(pos, 2, time);
    return text;
}

void InitMosaicStars()
{
    gStars.clear();
    auto add = [](TMosaicStar* star) { gStars.emplace_back(star); };
    add(new TMosaicStarCompleteLevel());
    add(new TMosaicStar0Hint("0hint", "star_0hint"));
    add(new TMosaicStar1Hint("1hint", "star_1hint"));
    add(new TMosaicStar2Hint("2hint", "star_2hint"));
    add(new TMosaicStar3Hint("3hint", "star_3hint"));
    add(new TMosaicStar4Hint("4hint", "star_4hint"));
    add(new TMosaicStar5Hint("5hint", "star_5hint"));
    add(new TMosaicStar6Hint("6hint", "star_6hint"));
    add(new TMosaicStar0Error("0error", "star_0error"));
    add(new TMosaicStar1Error("1error", "star_1error"));
    add(new TMosaicStar2Error("2error", "star_2error"));
    add(new TMosaicStar3Error("3error", "star_3error"));
    add(new TMosaicStar4Error("4error", "star_4error"));
    // "5error" is the 4-error rule under a second name, with its text.
    add(new TMosaicStar4Error("5error", "star_4error"));
    add(new TMosaicStar75Time());
    add(new TMosaicStar80Time());
    add(new TMosaicStar85Time());
    add(new TMosaicStar90Time());
}

const TMosaicStar* FindMosaicStar(const std::string& key)
{
    for (const auto& star : gStars)
        if (star->Key() == key) return star.get();
    return nullptr;
}

TBasePaintByNumberSettings TDifficultyRanges::Preset(int index) const
{
    if (index >= 0 && static_cast<size_t>(index) < presets.size()) return presets[static_cast<size_t>(index)];
    GetLogger()->LogMessage("settings.xml: no difficulty preset %d, defaults used", index);
    return TBasePaintByNumberSettings();
}
