// For test files whose cases start the audio thread or an OpenAL context, directly or through
// the game (a sound it plays, a whole-program run). Including this header is what marks such a
// file: the ThreadSanitizer build compiles exactly the files that include it, and the test
// runner fails a case that starts audio from any other file, so that set cannot fall behind.
#pragma once
#include <string>

#include "sound/al_engine.h"

// Releases the sound manager and its engine (joining the audio thread) and lets the next use
// make them again, so the cases after this one in the same process still have sound.
void ReleaseSoundForNextTest();

// The engine opens this output (null: the sound card, OpenAL's null output under the tests'
// environment) at its next use: what was made before is released first.
void UseSoundOutput(TAlOutputOpener opener);

// Whether the test source at this path (as a case reports its file) includes this header.
bool IsAudioCasesFile(const std::string& path);
