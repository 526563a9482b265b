// Difficulty presets, slider ranges and the star rules.
#pragma once
class TiXmlElement;

class TDifficultyRanges {
public:
    bool LoadXml(TiXmlElement* root);
};

TDifficultyRanges* GetDifficultyRanges();
void DestroyDifficultyRanges();
void InitMosaicStars();
