#include "core/buffer.h"

#include <cmath>

void TBaseBuffer::Clear()
{
    mBytes.clear();
    mReadPos = 0;
}

void TBaseBuffer::WriteByte(int value) { mBytes.push_back(static_cast<uint8_t>(value & 0xFF)); }

int TBaseBuffer::ReadByte()
{
    if (mReadPos >= mBytes.size()) return 0;
    return mBytes[mReadPos++];
}

void TBaseBuffer::WriteInt32(int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) WriteByte(static_cast<int>((v >> (8 * i)) & 0xFF));
}

int32_t TBaseBuffer::ReadInt32()
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(ReadByte()) << (8 * i);
    return static_cast<int32_t>(v);
}

void TBaseBuffer::WriteMilli(float value)
{
    float scaled = value * 1000.0f;
    int32_t v = 0;
    if (std::isnan(scaled))
        v = 0;
    else if (scaled >= 2147483647.0f)
        v = INT32_MAX;
    else if (scaled <= -2147483648.0f)
        v = INT32_MIN;
    else
        v = static_cast<int32_t>(scaled);
    WriteInt32(v);
}

float TBaseBuffer::ReadMilli() { return static_cast<float>(ReadInt32() / 1000.0); }
