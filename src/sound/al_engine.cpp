#include "sound/al_engine.h"

#include <cmath>

#include <cstdio>

#include <SDL_timer.h>
#include <vorbis/vorbisfile.h>

#include "core/logger.h"

struct TAlStream {
    ALuint mSource = 0;
    ALuint mBuffers[2] = {0, 0};
    OggVorbis_File mVorbis;
    FILE* mFile = nullptr;
    vorbis_info* mInfo = nullptr;
    bool mLoop = false;
    ALenum mFormat = AL_FORMAT_MONO16;
    int mState = 0;  // 0 opened, 1 playing, 2 stopped, 3 paused
    float mGain = 1.0f;
};

namespace {

std::unique_ptr<TAlEngine> gEngine;
bool gEngineShutDown = false;
TAlOutputOpener gOutputOpener = nullptr;

// A damaged file can make every read fail; after this many failures in a row the stream counts
// as ended, so a step never spins with the mutex held.
const int kMaxReadErrors = 8;

class TEngineLock {
public:
    explicit TEngineLock(SDL_mutex* mutex) : mMutex(mutex) { SDL_LockMutex(mMutex); }
    ~TEngineLock() { SDL_UnlockMutex(mMutex); }
    TEngineLock(const TEngineLock&) = delete;
    TEngineLock& operator=(const TEngineLock&) = delete;

private:
    SDL_mutex* mMutex;
};

ALint SourceInt(ALuint source, ALenum param)
{
    ALint value = 0;
    alGetSourcei(source, param, &value);
    CheckAlError();
    return value;
}

ALuint UnqueueOne(ALuint source)
{
    ALuint buffer = 0;
    alSourceUnqueueBuffers(source, 1, &buffer);
    CheckAlError();
    return buffer;
}

}  // namespace

void SetAlOutputOpener(TAlOutputOpener opener) { gOutputOpener = opener; }

TAlOutput OpenDefaultAlOutput()
{
    TAlOutput out;
    out.mDevice = alcOpenDevice("Generic Software");
    if (!out.mDevice) out.mDevice = alcOpenDevice(nullptr);
    return out;
}

const char* AlErrorText(ALenum code)
{
    switch (code) {
    case AL_INVALID_NAME: return "The specified source name is not valid";
    case AL_INVALID_ENUM: return "The specified parameter is not valid";
    case AL_INVALID_VALUE: return "The value given is out of range";
    case AL_INVALID_OPERATION: return "There is no current context";
    default: return "Unknown OpenAL error";
    }
}

bool CheckAlError()
{
    ALenum code = alGetError();
    if (code == AL_NO_ERROR) return true;
    GetLogger()->LogMessage("OpenAL error: %s", AlErrorText(code));
    return false;
}

TAlEngine::TAlEngine() : mScratch(kBufferBytes)
{
    CountAudioStart();
    // The lock exists with or without a device: the audio thread runs either way.
    mMutex = SDL_CreateMutex();
    TAlOutput output = gOutputOpener ? gOutputOpener() : OpenDefaultAlOutput();
    mDevice = output.mDevice;
    if (mDevice) {
        mContext = alcCreateContext(mDevice, output.mContextAttributes.empty() ? nullptr
                                                                                : output.mContextAttributes.data());
        if (!mContext) {
            alcCloseDevice(mDevice);
            mDevice = nullptr;
        } else if (!alcMakeContextCurrent(mContext)) {
            alcDestroyContext(mContext);
            mContext = nullptr;
            alcCloseDevice(mDevice);
            mDevice = nullptr;
        }
    }
    if (!mContext) {
        GetLogger()->LogMessage("No audio device: the game runs silent");
        return;
    }
    alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
    CheckAlError();
}

TAlEngine::~TAlEngine()
{
    for (auto& entry : mStreams) ReleaseStream(entry.second.get());
    mStreams.clear();
    if (mContext) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(mContext);
    }
    if (mDevice) alcCloseDevice(mDevice);
    SDL_DestroyMutex(mMutex);
}

TAlStream* TAlEngine::FindStream(unsigned handle)
{
    auto it = mStreams.find(handle);
    return it == mStreams.end() ? nullptr : it->second.get();
}

TAlStream* TAlEngine::FindStreamBySource(unsigned source)
{
    if (source == 0) return nullptr;
    for (auto& entry : mStreams)
        if (entry.second->mSource == source) return entry.second.get();
    return nullptr;
}

void TAlEngine::StopSource(unsigned source)
{
    if (!alIsSource(source)) return;
    alSourceStop(source);
    CheckAlError();
    ALint processed = SourceInt(source, AL_BUFFERS_PROCESSED);
    for (ALint i = 0; i < processed; ++i) UnqueueOne(source);
}

void TAlEngine::EndStream(TAlStream* stream)
{
    // The source stays with its stream until the stream is closed: a freed name would go to
    // the next sound at once, and whoever still holds this one would then steer that sound.
    StopSource(stream->mSource);
    stream->mState = 2;
}

void TAlEngine::ReleaseStream(TAlStream* stream)
{
    if (stream->mSource) {
        StopSource(stream->mSource);
        // A queued buffer cannot be deleted: the source goes first.
        alDeleteSources(1, &stream->mSource);
        CheckAlError();
        stream->mSource = 0;
    }
    stream->mState = 2;
    alDeleteBuffers(2, stream->mBuffers);
    CheckAlError();
    ov_clear(&stream->mVorbis);
    fclose(stream->mFile);
    stream->mFile = nullptr;
}

unsigned TAlEngine::OpenStream(const std::string& path)
{
    TEngineLock lock(mMutex);
    if (!mContext) return 0;
    TLogger* log = GetLogger();
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        log->LogMessage("ERROR: Could not find file named \"%s\"", path.c_str());
        return 0;
    }
    std::unique_ptr<TAlStream> stream(new TAlStream());
    // The engine closes the file itself, after ov_clear.
    if (ov_open_callbacks(file, &stream->mVorbis, nullptr, 0, OV_CALLBACKS_NOCLOSE) < 0) {
        log->LogMessage("Cannot open og file %s", path.c_str());
        fclose(file);
        return 0;
    }
    stream->mFile = file;
    stream->mInfo = ov_info(&stream->mVorbis, -1);
    if (!stream->mInfo) {
        log->LogMessage("ERROR: \"%s\" is not a valid Ogg Vorbis file.", path.c_str());
        ov_clear(&stream->mVorbis);
        fclose(file);
        return 0;
    }
    stream->mFormat = stream->mInfo->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    alGenBuffers(2, stream->mBuffers);
    CheckAlError();
    if (stream->mBuffers[0] == 0 || stream->mBuffers[1] == 0) {
        log->LogMessage("Buffers Error");
        // A table keyed by buffer name cannot hold a stream without one.
        alDeleteBuffers(2, stream->mBuffers);
        alGetError();
        ov_clear(&stream->mVorbis);
        fclose(file);
        return 0;
    }
    unsigned handle = stream->mBuffers[0];
    mStreams[handle] = std::move(stream);
    return handle;
}

void TAlEngine::CloseStream(unsigned handle)
{
    TEngineLock lock(mMutex);
    auto it = mStreams.find(handle);
    if (it == mStreams.end()) return;
    ReleaseStream(it->second.get());
    mStreams.erase(it);
}

bool TAlEngine::FillBuffer(unsigned buffer, TAlStream* stream)
{
    int size = 0;
    int errors = 0;
    while (size < kBufferBytes) {
        int section = 0;
        long got = ov_read(&stream->mVorbis, mScratch.data() + size, kBufferBytes - size, 0, 2, 1, &section);
        if (got == 0) break;
        if (got < 0) {
            GetLogger()->LogMessage("Error streaming audio");
            if (++errors >= kMaxReadErrors) break;
            continue;
        }
        errors = 0;
        size += static_cast<int>(got);
    }
    if (size == 0) return false;
    alBufferData(buffer, stream->mFormat, mScratch.data(), size, static_cast<ALsizei>(stream->mInfo->rate));
    CheckAlError();
    return true;
}

float ClampGain(float gain)
{
    if (std::isnan(gain)) return 1.0f;
    return gain < 0.0f ? 0.0f : (gain > 1.0f ? 1.0f : gain);
}

unsigned TAlEngine::Play(unsigned handle, bool loop, float gain)
{
    TEngineLock lock(mMutex);
    TAlStream* stream = handle ? FindStream(handle) : nullptr;
    if (!stream) return 0;
    ov_raw_seek(&stream->mVorbis, 0);
    if (stream->mSource) {
        StopSource(stream->mSource);
    } else {
        alGenSources(1, &stream->mSource);
        CheckAlError();
        alSource3f(stream->mSource, AL_POSITION, 0.0f, 0.0f, 0.0f);
        CheckAlError();
    }
    ALuint source = stream->mSource;
    if (!FillBuffer(stream->mBuffers[0], stream)) {
        EndStream(stream);
        return 0;
    }
    int filled = FillBuffer(stream->mBuffers[1], stream) ? 2 : 1;
    stream->mLoop = loop;
    gain = ClampGain(gain);
    stream->mGain = gain;
    stream->mState = 1;
    alSourcef(source, AL_GAIN, gain);
    CheckAlError();
    alSourceQueueBuffers(source, filled, stream->mBuffers);
    CheckAlError();
    alSourcePlay(source);
    CheckAlError();
    return source;
}

void TAlEngine::Stop(unsigned source)
{
    TEngineLock lock(mMutex);
    if (!mContext || source == 0 || !alIsSource(source)) return;
    alSourceStop(source);
    CheckAlError();
    if (TAlStream* stream = FindStreamBySource(source)) EndStream(stream);
}

void TAlEngine::SetPaused(unsigned source, bool paused)
{
    TEngineLock lock(mMutex);
    if (!mContext || source == 0 || !alIsSource(source)) return;
    TAlStream* stream = FindStreamBySource(source);
    if (!stream) {
        if (paused)
            alSourcePause(source);
        else
            alSourcePlay(source);
        CheckAlError();
        return;
    }
    // Only a playing stream pauses and only a paused one resumes: a resume of anything else
    // would restart a finished or freshly started sound from its queue head.
    if (paused && stream->mState == 1) {
        alSourcePause(source);
        CheckAlError();
        stream->mState = 3;
    } else if (!paused && stream->mState == 3) {
        alSourcePlay(source);
        CheckAlError();
        stream->mState = 1;
    }
}

bool TAlEngine::IsPlaying(unsigned source)
{
    TEngineLock lock(mMutex);
    if (!mContext || source == 0 || !alIsSource(source)) return false;
    if (TAlStream* stream = FindStreamBySource(source)) return stream->mState == 1;
    return SourceInt(source, AL_SOURCE_STATE) == AL_PLAYING;
}

bool TAlEngine::IsPaused(unsigned source)
{
    TEngineLock lock(mMutex);
    if (!mContext || source == 0 || !alIsSource(source)) return false;
    if (TAlStream* stream = FindStreamBySource(source)) return stream->mState == 3;
    return SourceInt(source, AL_SOURCE_STATE) == AL_PAUSED;
}

void TAlEngine::SetGain(unsigned source, float gain)
{
    TEngineLock lock(mMutex);
    if (!mContext || source == 0 || !alIsSource(source)) return;
    gain = ClampGain(gain);
    if (TAlStream* stream = FindStreamBySource(source)) stream->mGain = gain;
    alSourcef(source, AL_GAIN, gain);
    CheckAlError();
}

void TAlEngine::UpdateStream(TAlStream* stream)
{
    ALuint source = stream->mSource;
    alSourcef(source, AL_GAIN, stream->mGain);
    CheckAlError();
    ALint processed = SourceInt(source, AL_BUFFERS_PROCESSED);
    for (ALint i = 0; i < processed; ++i) {
        ALuint buffer = UnqueueOne(source);
        bool filled = FillBuffer(buffer, stream);
        if (!filled && stream->mLoop) {
            ov_raw_seek(&stream->mVorbis, 0);
            filled = FillBuffer(buffer, stream);
        }
        if (filled) {
            alSourceQueueBuffers(source, 1, &buffer);
            CheckAlError();
            continue;
        }
        // The other buffer may still be sounding; the stream ends once it has finished too.
        if (SourceInt(source, AL_SOURCE_STATE) == AL_PLAYING) continue;
        EndStream(stream);
        return;
    }
    if (SourceInt(source, AL_SOURCE_STATE) != AL_PLAYING) {
        // It ran dry before the refill.
        alSourcePlay(source);
        CheckAlError();
    }
}

bool TAlEngine::Update()
{
    {
        TEngineLock lock(mMutex);
        if (mContext) {
            for (auto& entry : mStreams) {
                TAlStream* stream = entry.second.get();
                if (stream->mState == 1 && stream->mSource && alIsSource(stream->mSource)) UpdateStream(stream);
            }
        }
    }
    return !mStopFlag;
}

size_t TAlEngine::StreamCount()
{
    TEngineLock lock(mMutex);
    return mStreams.size();
}

int TAlEngine::StreamState(unsigned handle)
{
    TEngineLock lock(mMutex);
    TAlStream* stream = FindStream(handle);
    return stream ? stream->mState : -1;
}

unsigned TAlEngine::StreamSource(unsigned handle)
{
    TEngineLock lock(mMutex);
    TAlStream* stream = FindStream(handle);
    return stream ? stream->mSource : 0;
}

namespace {
std::atomic<int> gAudioStarts{0};
}

int AudioStartCount() { return gAudioStarts.load(); }
void CountAudioStart() { ++gAudioStarts; }

TAlEngine* GetAlEngine()
{
    if (!gEngine && !gEngineShutDown) gEngine.reset(new TAlEngine());
    return gEngine.get();
}

TAlEngine* FindAlEngine() { return gEngine.get(); }

void ReleaseAlEngine()
{
    gEngine.reset();
    gEngineShutDown = true;
}

void SetAlEngineShutDown(bool down) { gEngineShutDown = down; }

int AudioThreadMain(void* /*data*/)
{
    TAlEngine* engine = FindAlEngine();
    if (!engine) return 0;
    while (engine->Update()) SDL_Delay(100);
    return 0;
}
