// The game's log: every line goes to SDL's log and to "log.txt" in the player's folder,
// flushed at once so that the log survives a crash.
#pragma once
#include <SDL_mutex.h>

#include "core/virtual_files.h"

class TLogger {
public:
    explicit TLogger(bool withFile = true);
    ~TLogger();
    TLogger(const TLogger&) = delete;
    TLogger& operator=(const TLogger&) = delete;

    void LogMessage(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Low-importance diagnostics: deliberately silent.
    void LogDebug(const char* /*format*/, ...) {}
    // Tests and tools that would drown in lines switch SDL's copy off.
    void SetSdlOutput(bool on) { mSdlOutput = on; }
    bool HasFile() const { return mFile.IsOpen(); }

private:
    static const int kBufferSize = 10240;
    char mBuffer[kBufferSize];
    TFile mFile;
    SDL_mutex* mLock = nullptr;  // the audio thread logs too
    bool mSdlOutput = true;
};

// The logger, created when absent. After shutdown it answers a file-less logger, so a
// late line can never reopen (and so truncate) "log.txt".
TLogger* GetLogger();
void DestroyLogger();
void SetLoggerShutDown(bool down);
