// The shipped profile layouts, texts and fonts: every element where the dialogs look for it,
// and every letter the name entry takes drawable.
#include "game/profile_fixture.h"
#include "graphics/image_font.h"

class ProfileDataTest : public ProfileTest {};

TEST_F(ProfileDataTest, BothLayoutsHoldEveryElement)
{
    auto* profiles = new TSelectUserWindow(nullptr);
    mManager->AddWindow(profiles, 0);
    auto* name = new TUserNameWindow(nullptr);
    mManager->AddWindow(name, 0);
    EXPECT_EQ(mWatch.Text().find("File not found"), std::string::npos) << mWatch.Text();
    EXPECT_EQ(mWatch.Text().find("wrong style"), std::string::npos) << mWatch.Text();

    for (int i = 0; i < 6; ++i) EXPECT_NE(profiles->mLines[i], nullptr) << i;
    EXPECT_NE(profiles->mCreateButton, nullptr);
    EXPECT_NE(profiles->mDeleteButton, nullptr);
    EXPECT_NE(profiles->mOkButton, nullptr);
    EXPECT_EQ(profiles->mCreateButton->mId, 1);
    EXPECT_EQ(profiles->mDeleteButton->mId, 2);
    EXPECT_EQ(profiles->mOkButton->mId, 3);
    EXPECT_EQ(profiles->GetWidth(), 520);
    EXPECT_EQ(profiles->GetHeight(), 460);
    EXPECT_NE(profiles->mLines[0]->mFont, nullptr);
    auto* caption = dynamic_cast<TSimpleTextImage*>(profiles->FindChild("caption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->mText, L"Players");

    ASSERT_NE(name->mEdit, nullptr);
    EXPECT_NE(name->FindChild("ok"), nullptr);
    EXPECT_NE(name->FindChild("cancel"), nullptr);
    EXPECT_EQ(name->FindChild("ok")->mId, 1);
    EXPECT_EQ(name->FindChild("cancel")->mId, 2);
    auto* nameCaption = dynamic_cast<TSimpleTextImage*>(name->FindChild("caption"));
    ASSERT_NE(nameCaption, nullptr);
    EXPECT_EQ(nameCaption->mText, L"Enter your name");
}

TEST_F(ProfileDataTest, EveryAcceptedLetterFitsTheFieldAndALine)
{
    TUserNameWindow window(nullptr);
    const std::wstring name = GetLocalization()->GetText("defaultname");
    EXPECT_GE(name.size(), 1u);
    EXPECT_LE(name.size(), 10u);
    for (wchar_t c : name) EXPECT_TRUE(window.AcceptChar(0, c)) << int(c);

    ImageFont* font = TFontManager::Instance()->GetFont("default");
    ASSERT_NE(font, nullptr);
    std::vector<int> accepted;
    for (int c = 0; c <= 0xFFFF; ++c)
        if (window.AcceptChar(0, c)) accepted.push_back(c);
    EXPECT_EQ(accepted.size(), 26u * 2 + 10 + 64);
    for (int c : accepted) EXPECT_GT(font->WStringWidth(std::wstring(1, static_cast<wchar_t>(c))), 0) << c;
    for (wchar_t wide : {wchar_t(0x416), wchar_t('W')}) {
        const int width = font->WStringWidth(std::wstring(10, wide));
        EXPECT_LE(width, window.mEdit->GetWidth() - 8) << int(wide);
        EXPECT_LE(width, 400) << int(wide);
    }
}
