// Shared by the sound tests: OpenAL's loopback device in place of a sound card, rendering
// with an audio step after each slice, and a working folder that holds the fixtures' assets/.
#pragma once
#include <gtest/gtest.h>

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/virtual_files.h"
#include "sound/al_engine.h"
#include "test_support.h"

inline const std::string& SoundData()
{
    static const std::string path = std::string(BRISALO_TEST_DATA) + "/sound";
    return path;
}

inline std::string SoundFile(const char* name) { return SoundData() + "/" + name; }

inline ALCdevice*& LoopbackDevice()
{
    static ALCdevice* device = nullptr;
    return device;
}

inline TAlOutput OpenLoopbackOutput()
{
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    TAlOutput out;
    out.mDevice = open ? open(nullptr) : nullptr;
    out.mContextAttributes = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                              ALC_FREQUENCY, 44100, 0};
    LoopbackDevice() = out.mDevice;
    return out;
}

inline TAlOutput OpenNoOutput() { return TAlOutput(); }

// Mixes `seconds` of 44.1 kHz stereo in slices of 0.1 s, an engine step after each slice
// (a slice stays well below one buffer's length, so no source runs dry between steps). The
// mix holds the engine lock: OpenAL's own synchronisation is invisible to ThreadSanitizer,
// so the audio thread must not be inside OpenAL meanwhile.
inline std::vector<short> RenderSeconds(TAlEngine* engine, float seconds, bool step = true)
{
    auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    const int slice = 4410;
    int frames = static_cast<int>(seconds * 44100.0f + 0.5f);
    std::vector<short> out;
    while (frames > 0) {
        int n = frames < slice ? frames : slice;
        std::vector<short> part(static_cast<size_t>(n) * 2);
        engine->Lock();
        render(LoopbackDevice(), part.data(), n);
        engine->Unlock();
        out.insert(out.end(), part.begin(), part.end());
        frames -= n;
        if (step) engine->Update();
    }
    return out;
}

inline double Rms(const std::vector<short>& samples, size_t from = 0)
{
    double sum = 0;
    size_t n = 0;
    for (size_t i = from; i < samples.size(); ++i, ++n) sum += double(samples[i]) * samples[i];
    return n ? std::sqrt(sum / n) : 0.0;
}

inline ALint SourceOffset(ALuint source)
{
    ALint offset = 0;
    alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
    return offset;
}

inline ALfloat SourceGain(TAlEngine* engine, ALuint source)
{
    ALfloat gain = -1;
    engine->Lock();
    alGetSourcef(source, AL_GAIN, &gain);
    engine->Unlock();
    return gain;
}

inline std::string LogText() { return ReadWholeFile(MapPath("user:log.txt")); }

// Runs a test in a temporary working folder whose assets/ is the sound fixtures' folder, or
// the game's own.
class TAssetsFolder {
public:
    explicit TAssetsFolder(const std::string& assets)
    {
        char buf[4096];
        if (getcwd(buf, sizeof(buf))) mOld = buf;
        EXPECT_EQ(symlink(assets.c_str(), (mDir / "assets").c_str()), 0);
        EXPECT_EQ(chdir(mDir.Path().c_str()), 0);
    }
    ~TAssetsFolder()
    {
        if (!mOld.empty() && chdir(mOld.c_str()) != 0) perror("chdir");
    }

private:
    TTempDir mDir;
    std::string mOld;
};
