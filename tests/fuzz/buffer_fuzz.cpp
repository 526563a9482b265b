// libFuzzer target: the saved-file loader and every field reader on arbitrary bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/buffer.h"
#include "core/messages.h"
#include "fuzz_support.h"

namespace {

// Enough for every byte of the input to be read several ways, and for reads past the end.
const size_t kMaxReads = 4096;
const int kMaxDepth = 3;

// Reads fields in an order taken from the plan until the buffer is used up (and a few reads
// past it), writing every value back into a second buffer.
void ApplyReads(TBaseBuffer& in, const uint8_t* plan, size_t planSize, int depth)
{
    TBufferBin out;
    int pastEnd = 0;
    for (size_t step = 0; step < kMaxReads; ++step) {
        if (in.ReadAtEnd() && ++pastEnd > 8) break;
        uint8_t op = planSize > 0 ? plan[(step * 7 + static_cast<size_t>(depth)) % planSize] : static_cast<uint8_t>(step);
        switch (op % 7) {
        case 0:
            out.WriteByte(in.ReadByte());
            break;
        case 1:
            out.WriteInt32(in.ReadInt32());
            break;
        case 2:
            out.WriteMilli(in.ReadMilli());
            break;
        case 3: {
            std::string text;
            in.ReadString(text);
            out.WriteString(text);
            break;
        }
        case 4: {
            std::vector<uint8_t> block;
            in.ReadBlock(block);
            out.WriteBlock(block);
            break;
        }
        case 5: {
            TBufferBin inner;
            in.ReadBuffer(inner);
            if (depth < kMaxDepth) ApplyReads(inner, plan, planSize, depth + 1);
            out.WriteBuffer(inner);
            break;
        }
        default: {
            TTimer timer;
            timer.LoadState(in);
            timer.SaveState(out);
            timer.Update(0.016f);
            break;
        }
        }
    }
    out.Checksum(0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFuzzEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // (a) The input as a checksummed file: almost always rejected, sometimes not.
    std::string path = WriteUserFile("fuzz.dat", data, size);
    TBufferBin buffer;
    if (buffer.LoadFromFile(path, true, 0)) ApplyReads(buffer, data, size, 0);

    // (c) The same file without checksum always loads, whole.
    if (!buffer.LoadFromFile(path, false, 0) || buffer.Size() != size) abort();
    ApplyReads(buffer, data, size, 0);

    // (b) The input behind its own correct checksum takes the success path.
    std::vector<uint8_t> file(4 + size);
    uint32_t crc = size > 0 ? Crc32Update(0, data, size) : 0;
    for (int i = 0; i < 4; ++i) file[static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (8 * i));
    std::copy(data, data + size, file.begin() + 4);
    path = WriteUserFile("fuzz.dat", file.data(), file.size());
    if (!buffer.LoadFromFile(path, true, 0) || buffer.Size() != size || buffer.HasError()) abort();
    ApplyReads(buffer, data, size, 0);
    return 0;
}
