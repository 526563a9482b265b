// libFuzzer target: the trajectory file reader, and every curve it keeps measured, normalised
// and travelled.
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "graphics/trajectories.h"

namespace {

const int kMaxCurves = 64;
const int kMaxSteps = 64;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFuzzEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = WriteUserFile("trajectories.dat", data, size);
    TTrajectoryList list;
    list.Load(path);
    // Speed and rotation flag from the first bytes: any float, NaN and infinities included.
    float speed = 100.0f;
    if (size >= 4) std::memcpy(&speed, data, sizeof speed);
    bool noRotation = size >= 5 && (data[4] & 1) != 0;
    for (int i = 0; i < list.Count() && i < kMaxCurves; ++i) {
        TTrajectory copy = *list.Get(i);
        BuildTrajectoryLengths(copy);
        copy.Normalize(0, 0);
        MoveObj_t mover(speed, list.Get(i), TMoveOwnerRecord());
        mover.mNoRotation = noRotation;
        mover.Restart();
        for (int step = 0; step < kMaxSteps && !mover.IsFinished(); ++step) mover.Update(0.25f);
    }
    list.Clear();
    return 0;
}
