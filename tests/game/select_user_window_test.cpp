#include "game/select_user_window.h"

#include <algorithm>
#include <vector>

#include "audio_cases.h"
#include "core/virtual_files.h"
#include "game/profile_fixture.h"

namespace {
const std::wstring kZhora = {0x416, 0x43E, 0x440, 0x430};  // Жора
const std::wstring kIvan = {0x418, 0x432, 0x430, 0x43D};   // Иван
}  // namespace

class SelectUserWindowTest : public ProfileTest {
protected:
    // The name bytes of the settings file: each user is a 16-bit id, a 16-bit length and
    // the name; the list starts after the fixed head of 23 bytes.
    std::string StoredNames()
    {
        const std::string bytes = ReadWholeFile(UserFile("settings.dat"));
        std::string names;
        for (size_t at = 23; at + 4 <= bytes.size();) {
            const size_t length = static_cast<unsigned char>(bytes[at + 2]) | static_cast<unsigned char>(bytes[at + 3]) << 8;
            std::string hex = ToHex(bytes.substr(at + 4, length));
            if (!hex.empty() && hex.back() == ' ') hex.pop_back();
            names += hex + "|";
            at += 4 + length;
        }
        return names;
    }
    // Create, type over the default name, confirm; the name dialog has flown out.
    void CreateNamed(const char* utf8)
    {
        Click(kCreateX, kProfileButtonsY);
        ASSERT_NE(NameWindow(), nullptr);
        Type(utf8);
        Click(kNameOkX, kSmallButtonsY);
        Updates(8);
    }
};

TEST_F(SelectUserWindowTest, OpensOnTheCurrentUserOrNone)
{
    TSelectUserWindow* empty = OpenProfiles();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Line(empty, i), L"") << i;
    EXPECT_TRUE(DeleteDisabled(empty));
    EXPECT_EQ(empty->mSelectedIndex, -1);
    EXPECT_EQ(empty->GetState(), TFlyWindow::kShown);
    EXPECT_EQ(empty->GetX(), kProfileLeft);
    EXPECT_EQ(empty->GetY(), kProfileTop);
    mManager->DeleteTopWindows();

    AddUsers({"Anna", "Boris", "Clara"});
    Settings()->SelectUser(1);
    TSelectUserWindow* three = OpenProfiles();
    EXPECT_EQ(three->mSelectedIndex, 1);
    EXPECT_FALSE(DeleteDisabled(three));
    EXPECT_EQ(Line(three, 1), L"Boris");
    three->mLines[1]->RefreshText();  // as a change of language does: a name is no key
    EXPECT_EQ(Line(three, 1), L"Boris");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(three->mLines[i]->mSelected, i == 1) << i;
    mManager->DeleteTopWindows();

    Settings()->DeleteUser(1);  // the current one: none is current now
    ASSERT_EQ(Settings()->CurrentUserIndex(), -1);
    EXPECT_EQ(OpenProfiles()->mSelectedIndex, 0);
}

TEST_F(SelectUserWindowTest, ReleaseOnAUserLinePicksIt)
{
    AddUsers({"Anna", "Boris", "Clara"});
    Settings()->SelectUser(0);
    TSelectUserWindow* window = OpenProfiles();
    Click(683, LineY(3));
    EXPECT_EQ(window->mSelectedIndex, 2);
    EXPECT_TRUE(window->mChoiceMade);
    EXPECT_TRUE(window->mLines[2]->mSelected);
    EXPECT_FALSE(window->mLines[0]->mSelected);

    window->mChoiceMade = false;
    Click(683, LineY(3));
    EXPECT_FALSE(window->mChoiceMade);
    Click(683, LineY(5));  // beyond the last user
    EXPECT_EQ(window->mSelectedIndex, 2);
    EXPECT_TRUE(window->mLines[2]->mSelected);
    EXPECT_FALSE(window->mChoiceMade);
}

TEST_F(SelectUserWindowTest, CreateOpensTheNameDialogOrRefuses)
{
    AddUsers({"Anna"});
    TSelectUserWindow* window = OpenProfiles();
    Click(kCreateX, kProfileButtonsY);
    TUserNameWindow* name = NameWindow();
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->mId, 101);

    Type("ANNA");
    Click(kNameOkX, kSmallButtonsY);
    EXPECT_EQ(TopBox(), "EnterCorrectName id -1");
    EXPECT_EQ(Settings()->UserCount(), 1);
    Click(kBoxOkX, kSmallButtonsY);
    Updates(8);

    CreateNamed("Mila");
    EXPECT_EQ(Settings()->UserCount(), 2);
    EXPECT_EQ(window->mSelectedIndex, 1);
    EXPECT_TRUE(window->mChoiceMade);
    EXPECT_EQ(Line(window, 1), L"Mila");
    EXPECT_TRUE(window->mLines[1]->mSelected);

    window->mChoiceMade = false;
    Click(kCreateX, kProfileButtonsY);
    ASSERT_NE(NameWindow(), nullptr);
    Type("Olga");
    Click(kNameCancelX, kSmallButtonsY);
    Updates(8);
    EXPECT_EQ(Settings()->UserCount(), 2);
    EXPECT_FALSE(window->mChoiceMade);
    EXPECT_EQ(mManager->TopWindowCount(), 1);

    AddUsers({"C", "D", "E", "F"});
    Click(kCreateX, kProfileButtonsY);
    EXPECT_EQ(TopBox(), "NoMorePlayersAvalible id -1");
}

TEST_F(SelectUserWindowTest, DeleteAsksThenRemovesTheUserAndFiles)
{
    AddUsers({"Anna", "Boris"});
    Settings()->SelectUser(1);
    TSelectUserWindow* window = OpenProfiles();
    ASSERT_TRUE(WriteWholeFile(UserFile("user2_main"), "m") && WriteWholeFile(UserFile("user2_bonus"), "b"));

    Click(kDeleteX, kProfileButtonsY);
    EXPECT_EQ(TopBox(), "DeleteWarning id 1");
    Click(kNameCancelX, kSmallButtonsY);  // the question's cancel sits where the name dialog's does
    Updates(8);
    EXPECT_EQ(Settings()->UserCount(), 2);
    EXPECT_FALSE(window->mChoiceMade);

    Click(kDeleteX, kProfileButtonsY);
    ASSERT_EQ(TopBox(), "DeleteWarning id 1");
    Click(kNameOkX, kSmallButtonsY);
    Updates(8);
    ASSERT_EQ(Settings()->UserCount(), 1);
    EXPECT_EQ(Settings()->UserName(0), "Anna");
    for (const char* gone : {"user2", "user2_main", "user2_bonus"}) EXPECT_FALSE(PathExists(UserFile(gone))) << gone;
    EXPECT_EQ(window->mSelectedIndex, 0);
    EXPECT_TRUE(window->mChoiceMade);
    EXPECT_EQ(Line(window, 1), L"");

    Click(kDeleteX, kProfileButtonsY);
    ASSERT_EQ(TopBox(), "DeleteWarning id 1");
    Click(kNameOkX, kSmallButtonsY);
    Updates(8);
    EXPECT_EQ(Settings()->UserCount(), 0);
    EXPECT_EQ(window->mSelectedIndex, -1);
    EXPECT_TRUE(DeleteDisabled(window));
}

// Opened without players, "delete" must come alive with the first one.
TEST_F(SelectUserWindowTest, DeleteFollowsTheList)
{
    TSelectUserWindow* window = OpenProfiles();
    ASSERT_TRUE(DeleteDisabled(window));
    CreateNamed("Mila");
    ASSERT_EQ(Settings()->UserCount(), 1);
    EXPECT_FALSE(DeleteDisabled(window));
    Click(kDeleteX, kProfileButtonsY);
    ASSERT_EQ(TopBox(), "DeleteWarning id 1");
    Click(kNameOkX, kSmallButtonsY);
    Updates(8);
    EXPECT_EQ(Settings()->UserCount(), 0);
}

TEST_F(SelectUserWindowTest, ClosingButtonsFlyOutWithResultZero)
{
    for (int id : {3, 4}) {
        AddUsers({id == 3 ? "Anna" : "Boris"});
        TSelectUserWindow* window = OpenProfiles();
        window->OnButtonClick(305, window, id, nullptr);
        EXPECT_EQ(Take(), TLog{"sound flywindow"});
        Updates(10);
        EXPECT_EQ(Take(), TLog{"closed 305 result 0 choice 0 selected " + std::to_string(id - 3)}) << id;
        EXPECT_EQ(mManager->TopWindowCount(), 0);
    }
    OpenProfiles();
    Click(683, LineY(1));
    Click(kOkX, kProfileButtonsY);
    Updates(10);
    EXPECT_EQ(Take(), (TLog{"sound flywindow", "closed 305 result 0 choice 1 selected 0"}));
}

// A Cyrillic name is stored as UTF-8 and shown as typed; a byte-wide name stays readable.
TEST_F(SelectUserWindowTest, NamesKeepEveryAcceptedLetter)
{
    TSelectUserWindow* window = OpenProfiles();
    CreateNamed("Жора");
    EXPECT_EQ(StoredNames(), "D0 96 D0 BE D1 80 D0 B0|");
    EXPECT_EQ(Line(window, 0), kZhora);
    CreateNamed("Иван");
    ASSERT_EQ(Settings()->UserCount(), 2);
    EXPECT_EQ(Line(window, 1), kIvan);
    CreateNamed("Anna");
    EXPECT_EQ(StoredNames(), "D0 96 D0 BE D1 80 D0 B0|D0 98 D0 B2 D0 B0 D0 BD|41 6E 6E 61|");
    mManager->DeleteTopWindows();

    Settings()->AddUser("Jos\xE9");
    EXPECT_EQ(Line(OpenProfiles(), 3), L"Jos\u00E9");
}

TEST_F(SelectUserWindowTest, EmptyNameIsRefusedLikeATakenOne)
{
    TSelectUserWindow* window = OpenProfiles();
    auto* name = new TUserNameWindow(nullptr);
    mManager->AddWindow(name, 0);
    name->mEdit->SetText(L"", true);
    window->OnFlyClosed(name, 101, 1);
    EXPECT_EQ(Settings()->UserCount(), 0);
    EXPECT_EQ(TopBox(), "EnterCorrectName id -1");
}

// More users than lines in a valid file, and a layout with one line missing and one of
// another kind: only the real lines are used.
TEST_F(SelectUserWindowTest, LinesNeverOutnumberTheLayout)
{
    std::string body = HexBytes("E8 03 00 00 00 00 03 00 00 00 01 00 01 00 00 08 00 08 00");
    for (int id = 1; id <= 8; ++id) body += std::string{char(id), 0, 2, 0, 'U', char('0' + id)};
    ASSERT_TRUE(WriteWholeFile(UserFile("settings.dat"), WithCrc(body)));
    ASSERT_TRUE(Settings()->LoadSettings());
    ASSERT_EQ(Settings()->UserCount(), 8);
    ASSERT_EQ(Settings()->UserName(7), "U8");

    auto* window = new TSelectUserWindow(&mSpy, "fixtures/selectuser_broken.xml");
    mManager->AddWindow(window, 0);
    Updates(2);
    ASSERT_NE(window->FindChild("name5"), nullptr);
    EXPECT_EQ(window->mLines[3], nullptr);
    EXPECT_EQ(window->mLines[4], nullptr);
    EXPECT_EQ(Line(window, 0), L"U1");
    EXPECT_EQ(Line(window, 2), L"U3");
    EXPECT_EQ(Line(window, 5), L"U6");
    Click(683, LineY(5));  // the plain text there picks nothing
    EXPECT_FALSE(window->mChoiceMade);
    window->mSelectedIndex = 7;
    window->Refresh();
    for (int i : {0, 1, 2, 5}) EXPECT_FALSE(window->mLines[i]->mSelected) << i;
    Click(kCreateX, kProfileButtonsY);
    EXPECT_EQ(TopBox(), "NoMorePlayersAvalible id -1");
}

// Eight players in the file, six lines at most: only a player shown on a line is picked
// when the window opens, and only that one can be deleted.
TEST_F(SelectUserWindowTest, DeleteReachesOnlyAShownPlayer)
{
    struct Case {
        const char* layout;
        int current;
        int selected;
        const char* deleted;  // null: nobody
    } cases[] = {
        {"ui/selectuser.xml", 7, -1, nullptr},
        {"fixtures/selectuser_broken.xml", 3, -1, nullptr},  // this layout has no fourth line
        {"ui/selectuser.xml", 2, 2, "U3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " current " + std::to_string(c.current));
        std::string body = HexBytes("E8 03 00 00 00 00 03 00 00 00 01 00 01");
        body += std::string{char(c.current), 0, 8, 0, 8, 0};
        for (int id = 1; id <= 8; ++id) body += std::string{char(id), 0, 2, 0, 'U', char('0' + id)};
        ASSERT_TRUE(WriteWholeFile(UserFile("settings.dat"), WithCrc(body)));
        CreateSettings("mysettings");
        ASSERT_TRUE(Settings()->LoadSettings());
        ASSERT_EQ(Settings()->CurrentUserIndex(), c.current);

        auto* window = new TSelectUserWindow(&mSpy, c.layout);
        mManager->AddWindow(window, 0);
        Updates(2);
        EXPECT_EQ(window->mSelectedIndex, c.selected);
        window->OnFlyClosed(nullptr, 1, 1);  // the delete question answered with OK
        std::vector<std::string> names;
        for (int i = 0; i < Settings()->UserCount(); ++i) names.push_back(Settings()->UserName(i));
        if (c.deleted) {
            EXPECT_EQ(names.size(), 7u);
            EXPECT_EQ(std::find(names.begin(), names.end(), c.deleted), names.end());
            EXPECT_TRUE(window->mChoiceMade);
        } else {
            EXPECT_EQ(names.size(), 8u);
            EXPECT_FALSE(window->mChoiceMade);
        }
        mManager->DeleteTopWindows();
    }
}
