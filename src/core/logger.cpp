#include "core/logger.h"

#include <SDL_log.h>
#include <cstdarg>
#include <cstdio>
#include <memory>

namespace {
std::unique_ptr<TLogger> gLogger;
bool gLoggerShutDown = false;
}

TLogger::TLogger(bool withFile)
{
    mBuffer[0] = '\0';
    mLock = SDL_CreateMutex();
    if (withFile) mFile.Open("user:log.txt", true);
}

TLogger::~TLogger()
{
    mFile.Close();
    if (mLock) SDL_DestroyMutex(mLock);
}

void TLogger::LogMessage(const char* format, ...)
{
    if (mLock) SDL_LockMutex(mLock);
    va_list args;
    va_start(args, format);
    int n = vsnprintf(mBuffer, sizeof(mBuffer), format, args);
    va_end(args);
    if (n < 0) mBuffer[0] = '\0';
    // A line longer than the buffer is cut at its limit.
    size_t len = n < 0 ? 0 : (n >= kBufferSize ? kBufferSize - 1 : static_cast<size_t>(n));
    if (mSdlOutput) SDL_Log("%s", mBuffer);
    if (FILE* f = mFile.Handle()) {
        fwrite(mBuffer, 1, len, f);
        fputc('\n', f);
        fflush(f);
    }
    if (mLock) SDL_UnlockMutex(mLock);
}

TLogger* GetLogger()
{
    if (gLoggerShutDown) {
        static TLogger* silent = new TLogger(false);  // never destroyed: late lines may come at exit
        return silent;
    }
    if (!gLogger) gLogger.reset(new TLogger(true));
    return gLogger.get();
}

void DestroyLogger() { gLogger.reset(); }

void SetLoggerShutDown(bool down) { gLoggerShutDown = down; }
