// The OpenAL stream engine: every sound is an Ogg Vorbis file decoded into two queued
// buffers on its own source; the "audio" thread refills them every 100 ms. One recursive
// SDL mutex guards every operation, on both threads.
#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <AL/al.h>
#include <AL/alc.h>
#include <SDL_mutex.h>

struct TAlStream;

// Where the engine sends its output. The game opens a sound card; tests swap in OpenAL's
// loopback device (which mixes only when asked) before the engine's first use.
struct TAlOutput {
    ALCdevice* mDevice = nullptr;
    std::vector<ALCint> mContextAttributes;  // zero-terminated, or empty for none
};
using TAlOutputOpener = TAlOutput (*)();
void SetAlOutputOpener(TAlOutputOpener opener);  // null restores the sound card
TAlOutput OpenDefaultAlOutput();

// A volume or gain as OpenAL takes it: 0..1, NaN as 1.
float ClampGain(float gain);

class TAlEngine {
public:
    static const int kBufferBytes = 49152;

    TAlEngine();
    ~TAlEngine();
    TAlEngine(const TAlEngine&) = delete;
    TAlEngine& operator=(const TAlEngine&) = delete;

    unsigned OpenStream(const std::string& path);  // 0 on failure
    void CloseStream(unsigned handle);
    unsigned Play(unsigned handle, bool loop, float gain);  // the source, 0 on failure; gain as ClampGain
    void Stop(unsigned source);
    void SetPaused(unsigned source, bool paused);
    bool IsPlaying(unsigned source);
    bool IsPaused(unsigned source);
    void SetGain(unsigned source, float gain);  // clamped as ClampGain
    // One streaming step of the audio thread; false once the stop flag is set.
    bool Update();

    void RequestStop() { mStopFlag = true; }
    // Held around a caller's own run of engine operations (a play list's volume change), so
    // the audio step never sees half of it. The mutex is recursive.
    void Lock() { SDL_LockMutex(mMutex); }
    void Unlock() { SDL_UnlockMutex(mMutex); }

    bool HasContext() const { return mContext != nullptr; }
    ALCdevice* Device() const { return mDevice; }
    size_t StreamCount();
    int StreamState(unsigned handle);  // -1 when the handle is not open
    unsigned StreamSource(unsigned handle);

private:
    TAlStream* FindStream(unsigned handle);
    TAlStream* FindStreamBySource(unsigned source);
    void StopSource(unsigned source);
    bool FillBuffer(unsigned buffer, TAlStream* stream);
    void EndStream(TAlStream* stream);
    void ReleaseStream(TAlStream* stream);
    void UpdateStream(TAlStream* stream);

    ALCcontext* mContext = nullptr;
    ALCdevice* mDevice = nullptr;
    std::map<unsigned, std::unique_ptr<TAlStream>> mStreams;
    SDL_mutex* mMutex = nullptr;
    std::atomic<bool> mStopFlag{false};
    std::vector<char> mScratch;
};

// Created on first use; none after ReleaseAlEngine until a test re-arms it.
TAlEngine* GetAlEngine();
TAlEngine* FindAlEngine();
void ReleaseAlEngine();
void SetAlEngineShutDown(bool down);

// Logs "OpenAL error: %s" when OpenAL reports one; true when there was none.
bool CheckAlError();
const char* AlErrorText(ALenum code);

// Every engine made and every audio thread started counts once: a test run tells by it which
// cases ran a second thread (OpenAL's mixer or ours) and so need the ThreadSanitizer run.
int AudioStartCount();
void CountAudioStart();

// Body of the "audio" thread: steps the process's engine every 100 ms until it is asked to stop; the argument is unused.
int AudioThreadMain(void* data);
