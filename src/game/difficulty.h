// Difficulty presets, the custom-difficulty slider ranges from "settings.xml", and the star
// rules that judge a finished level and describe themselves to the player.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TiXmlElement;
class TBaseBuffer;

// How a level is played: timer, fill recharge, allowed errors, seconds per cell.
class TBasePaintByNumberSettings {
public:
    virtual ~TBasePaintByNumberSettings() = default;
    // 16 bytes: fillcolorrecharge, usetimer, maxerrorscount, secsperonecell in thousandths.
    virtual void LoadBinary(TBaseBuffer& buffer);
    // Every attribute defaults to the value the preset already holds.
    virtual void LoadXml(const TiXmlElement* element);
    virtual void SaveBinary(TBaseBuffer& buffer) const;

    int32_t usetimer = 0;
    int32_t fillcolorrecharge = 30;
    int32_t maxerrorscount = 0;
    float secsperonecell = 2.0f;
};

class TDifficultyRanges {
public:
    void LoadXml(const TiXmlElement* root);

    int32_t fillcolorrechargemin = 0;
    int32_t fillcolorrechargemax = 0;
    int32_t errorsmin = 0;
    int32_t errorsmax = 0;
    int32_t secsperonecellmin = 0;
    int32_t secsperonecellmax = 0;
    std::vector<TBasePaintByNumberSettings> presets;  // casual, normal, expert, custom defaults

    // The preset at the index; a file with fewer presets gives a fresh one (logged).
    TBasePaintByNumberSettings Preset(int index) const;
};

TDifficultyRanges* GetDifficultyRanges();
void DestroyDifficultyRanges();

// What the board knows of a level when it ends.
struct TLevelPlayStats {
    int32_t mHintsUsed = 0;
    int32_t mErrors = 0;
    float mSecondsUsed = 0.0f;
    float mSecondsAllowed = 0.0f;
};

class TMosaicStar {
public:
    TMosaicStar(const std::string& key, const std::string& descriptionKey)
        : mKey(key), mDescriptionKey(descriptionKey) {}
    virtual ~TMosaicStar() = default;
    virtual bool Check(const TLevelPlayStats& /*stats*/) const { return false; }
    virtual std::wstring GetDescription(const TLevelPlayStats& stats) const;

    const std::string& Key() const { return mKey; }
    const std::string& DescriptionKey() const { return mDescriptionKey; }

private:
    std::string mKey;
    std::string mDescriptionKey;
};

class TMosaicStarCompleteLevel : public TMosaicStar {
public:
    TMosaicStarCompleteLevel() : TMosaicStar("complete", "star_completelevel") {}
    bool Check(const TLevelPlayStats& /*stats*/) const override { return true; }
};

// Passes with at most Limit hints (or errors).
template <int Limit>
class TMosaicStarHintLimit : public TMosaicStar {
public:
    using TMosaicStar::TMosaicStar;
    bool Check(const TLevelPlayStats& stats) const override { return stats.mHintsUsed <= Limit; }
};

template <int Limit>
class TMosaicStarErrorLimit : public TMosaicStar {
public:
    using TMosaicStar::TMosaicStar;
    bool Check(const TLevelPlayStats& stats) const override { return stats.mErrors <= Limit; }
};

// The 3- to 6-hint rules allow one hint fewer than their names say: "3hint" passes with at
// most 2 hints, up to "6hint" with at most 5.
using TMosaicStar0Hint = TMosaicStarHintLimit<0>;
using TMosaicStar1Hint = TMosaicStarHintLimit<1>;
using TMosaicStar2Hint = TMosaicStarHintLimit<2>;
using TMosaicStar3Hint = TMosaicStarHintLimit<2>;
using TMosaicStar4Hint = TMosaicStarHintLimit<3>;
using TMosaicStar5Hint = TMosaicStarHintLimit<4>;
using TMosaicStar6Hint = TMosaicStarHintLimit<5>;
using TMosaicStar0Error = TMosaicStarErrorLimit<0>;
using TMosaicStar1Error = TMosaicStarErrorLimit<1>;
using TMosaicStar2Error = TMosaicStarErrorLimit<2>;
using TMosaicStar3Error = TMosaicStarErrorLimit<3>;
using TMosaicStar4Error = TMosaicStarErrorLimit<4>;

// Passes when the time used is at most percent of the time allowed.
class TMosaicStar90Time : public TMosaicStar {
public:
    TMosaicStar90Time(const std::string& key = "90time", int32_t percent = 90)
        : TMosaicStar(key, "star_time"), mPercent(percent) {}
    bool Check(const TLevelPlayStats& stats) const override;
    // Shows the seconds allowed as "m : ss", not the percent.
    std::wstring GetDescription(const TLevelPlayStats& stats) const override;

protected:
    int32_t mPercent;
};

class TMosaicStar75Time : public TMosaicStar90Time {
public:
    TMosaicStar75Time() : TMosaicStar90Time("75time", 75) {}
};
class TMosaicStar80Time : public TMosaicStar90Time {
public:
    TMosaicStar80Time() : TMosaicStar90Time("80time", 80) {}
};
class TMosaicStar85Time : public TMosaicStar90Time {
public:
    TMosaicStar85Time() : TMosaicStar90Time("85time", 85) {}
};

// Fills the registry of star rules (once at start-up; again replaces it).
void InitMosaicStars();
// The rule of exactly this key, or null.
const TMosaicStar* FindMosaicStar(const std::string& key);
// "m : ss" of the seconds, minutes taken modulo 60.
std::string FormatStarTime(float seconds);
