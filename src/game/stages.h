// Stages and their levels, read from "stages.xml".
#pragma once
void LoadStages();
