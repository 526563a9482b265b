// The board on a 4 x 4 fixture picture beside the shipped assets: two stages of fixture levels,
// a fresh profile that has seen every tip, the board singleton hosted by a recording listener.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/logger.h"
#include "core/xml_document.h"
#include "game/board.h"
#include "game/rewards.h"
#include "game/stages.h"
#include "game/tilesets.h"
#include "game/user_info.h"
#include "graphics/drawing_fixture.h"
#include "test_support.h"
#include "ui/tutorial_window.h"
#include "ui/ui_info_holder.h"
#include "ui/window_manager.h"

inline const SDL_Color kWhite{255, 255, 255, 255};
inline const SDL_Color kRed{200, 0, 0, 255};
inline const SDL_Color kGreen{0, 160, 0, 255};

// Rows 0-1 red but two white cells, rows 2-3 green. White cells are hidden; green takes
// white's number, so red is colour 1 and green colour 0.
inline int FixtureIndex(int x, int y)
{
    if (y == 1 && x >= 2) return 0;
    return y < 2 ? 1 : 2;
}

// The profile has seen every tip but those named: the others would open windows over the board.
inline void MarkTipsSeen(TUserInfo* user, const std::set<std::string>& unseen = {})
{
    user->TBaseUserInfo::ResetDefaults();  // the pairs go, the progress stays
    for (const char* key : {"TipMoveToPaint", "TipChangeColor", "TipScaleFit", "TipUseArrowsToScroll",
                            "TipUseRightMouse", "TipDoubleToFill", "TipChangeScale", "TipChangeBackColor",
                            "TipFillAllToComplete"})
        if (!unseen.count(key)) user->AddPair("IHelpShown", key);
}

class BoardTest : public CanvasTest {
protected:
    void SetUp() override
    {
        // The log reopens its file in this test's user folder at its next line.
        DestroyLogger();
        char cwd[4096];
        const std::string realAssets = std::string(getcwd(cwd, sizeof cwd) ? cwd : ".") + "/assets";
        CanvasTest::SetUp();
        // The shipped assets, with the fixture pictures beside the shipped textures.
        for (const auto& entry : std::filesystem::directory_iterator(realAssets))
            if (entry.path().filename() != "textures")
                std::filesystem::create_directory_symlink(entry.path(), AssetPath(entry.path().filename().string()));
        std::filesystem::create_directories(AssetPath("textures"));
        for (const auto& entry : std::filesystem::directory_iterator(realAssets + "/textures"))
            std::filesystem::create_symlink(entry.path(), AssetPath("textures/" + entry.path().filename().string()));
        SavePng("textures/fix4.png", MakeIndexed(4, 4, {kWhite, kRed, kGreen}, FixtureIndex));

        if (!GetInterfaceHolder()->Find("paintview")) {
            if (TiXmlElement* root = LoadXmlDocument("ui/interface.xml")) GetInterfaceHolder()->Load(root);
            DeleteCurrentXmlDocument();
        }
        InitMosaicStars();
        ClearStages();
        AddStage({"fix4.png", "fix4.png"});
        AddStage({"fix4.png", "missing.png"});
        TUserInfo* user = GetUserInfo();
        user->ResetDefaults();
        user->mProgress[0].Reset(4);
        user->mProgress[0].mLevel = 0;
        user->mPreset->usetimer = 0;
        MarkTipsSeen(user);
        GetRewardConnector() = TRewardConnector();
        mBoard = GetBoard();
        mBoard->mListener = &mHost;
    }

    void TearDown() override
    {
        DestroyWindowManager();
        DestroyTutorialWindow();
        GetAppState().mBoard.reset();
        ReleaseTilesetTextures();
        ClearStages();
        GetUserInfo()->ResetDefaults();
        GetUserInfo()->ResetPreset();
        // The log file lies in this test's user folder, which goes with the test: the next
        // line opens it again in the folder the next test uses.
        DestroyLogger();
        CanvasTest::TearDown();
    }

    void AddStage(const std::vector<std::string>& files)
    {
        auto stage = std::make_unique<TStage>();
        for (const std::string& file : files) {
            auto level = std::make_unique<TLevelInfoMosaic>();
            level->mFilename = file;
            level->mStars = {{"complete", "complete", "complete"}, {"complete"}, {"complete"},
                             {"complete", "0error"}};
            stage->mLevels.push_back(std::move(level));
        }
        EditStageList(false).push_back(std::move(stage));
    }

    // Screen point of a cell's centre; the hit tests take the last draw's origin.
    TMouseEvent AtCell(int column, int row, int buttons = 1)
    {
        mBoard->Draw();
        const TPaintByNumber& p = mBoard->mPicture;
        const float half = 13.0f;
        return PointerAt(p.mOriginX + static_cast<int>((column * 26 + half) * p.mZoom),
                         p.mOriginY + static_cast<int>((row * 26 + half) * p.mZoom), buttons);
    }

    bool Right(int column, int row)
    {
        TPaintByNumberItem* cell = mBoard->mPicture.GetCell(column, row);
        return cell && cell->GetPainted() == cell->GetNumber();
    }

    void Click(int column, int row)
    {
        const TMouseEvent e = AtCell(column, row);
        mBoard->MouseDown(e);
        mBoard->MouseUp(e);
    }

    void PaintAll()
    {
        for (int colour : {1, 0}) {
            mBoard->OnColorSelected(colour);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x)
                    if (FixtureIndex(x, y) != 0 && (FixtureIndex(x, y) == 1) == (colour == 1)) Click(x, y);
        }
    }

    // Updates at 1/64 s; answers how many ran until the condition held (-1: never).
    template <typename F>
    int StepUntil(F done, int limit = 64 * 10)
    {
        for (int i = 1; i <= limit; ++i) {
            // The room window updates the board inside the manager's update.
            mBoard->Update(1.0f / 64.0f);
            GetWindowManager()->Update(1.0f / 64.0f);
            if (done()) return i;
        }
        return -1;
    }

    struct THost : TGameBaseListener {
        int mFinished = 0;
        void OnGameFinished(TGameBase*) override { ++mFinished; }
    };

    TUserFolderScope mUser;
    THost mHost;
    TBoardMahjong* mBoard = nullptr;
};
