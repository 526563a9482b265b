#include "game/difficulty.h"

namespace {
TDifficultyRanges* gRanges = nullptr;
}

bool TDifficultyRanges::LoadXml(TiXmlElement* root) { return root != nullptr; }

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

void InitMosaicStars() {}
