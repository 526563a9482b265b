// The little-endian byte buffer that every saved file and saved state is built in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class TBaseBuffer {
public:
    virtual ~TBaseBuffer() = default;
    virtual void Clear();
    virtual void WriteByte(int value);
    virtual int ReadByte();  // 0 past the end

    void WriteInt32(int32_t value);
    int32_t ReadInt32();
    void WriteMilli(float value);  // value x 1000 as an int32
    float ReadMilli();

    const std::vector<uint8_t>& Bytes() const { return mBytes; }
    size_t BytesLeft() const { return mReadPos < mBytes.size() ? mBytes.size() - mReadPos : 0; }

private:
    std::vector<uint8_t> mBytes;
    size_t mReadPos = 0;
};
