#include "rooms/hopa_user_info.h"

#include "core/localization.h"
#include "core/numbers.h"
#include "core/text.h"

std::wstring THopaBaseUserInfo::GetTimeText() const
{
    return FormatDuration((mMode & 1) ? mSecondTimeCounter : mTimeCounter);
}

THopaBaseUserInfo* GetHopaUserInfo()
{
    return dynamic_cast<THopaBaseUserInfo*>(static_cast<TBaseUserInfo*>(GetUserInfo()));
}

std::wstring FormatDuration(const TSecondsCounter& counter) { return FormatDuration(counter, IsJapanese()); }

std::wstring FormatDuration(const TSecondsCounter& counter, bool japanese)
{
    const TLocalization* texts = GetLocalization();
    const std::wstring separator = japanese ? L" " : L", ";
    const int hours = TruncToInt(counter.mValue) / 3600;
    std::wstring text = ToWide(FormatString("%d", hours)) + L" " + texts->GetText("hours");
    text += separator + ToWide(FormatString("%d", counter.GetMinutes())) + L" " + texts->GetText("minutes");
    text += separator + ToWide(FormatString("%d", counter.GetSeconds())) + L" " + texts->GetText("secundes");
    return text;
}
