// The scene game's kind of player profile: the base profile with the tips option, two play
// time counters and a mode word. This game's profile is of another kind, so the lookup
// answers null here.
#pragma once
#include <cstdint>
#include <string>

#include "game/user_info.h"
#include "graphics/tweens.h"

class THopaBaseUserInfo : public TBaseUserInfo {
public:
    // The text of the second counter when bit 0 of the mode word is set, else the first's.
    std::wstring GetTimeText() const;

    bool mTipsAllowed = true;
    TSecondsCounter mTimeCounter;
    TSecondsCounter mSecondTimeCounter;
    uint32_t mMode = 0;
};

// The current profile when it is a THopaBaseUserInfo, else null.
THopaBaseUserInfo* GetHopaUserInfo();

// "1 hours, 2 minutes, 5 seconds": whole seconds of the counter in three localised parts,
// joined by single blanks in Japanese.
std::wstring FormatDuration(const TSecondsCounter& counter);
// The same with the language given: Japanese joins the parts with single blanks.
std::wstring FormatDuration(const TSecondsCounter& counter, bool japanese);
