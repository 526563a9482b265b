// Design size, screen size and the renderer of the one window. The canvas is drawn at the
// design size and scaled to the window.
#pragma once
#include <cstdint>

const int kDesignWidth = 1366;
const int kDesignHeight = 768;

int GetLayoutWidth();
int GetLayoutHeight();
// The desktop size before any window exists; the design size when SDL cannot tell.
void GetScreenSizeBeforeStart(int32_t* width, int32_t* height);
void ChooseScreenResolution();
// Replaces the renderer of the window: accelerated and vsynced when possible, else
// SDL's software renderer. Logs the driver that was created.
bool RecreateRenderer();
void DestroyRenderer();
