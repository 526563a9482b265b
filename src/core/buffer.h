// The one binary format of every saved file: little-endian fields appended to a byte
// buffer, read back in the same order, and saved whole, optionally behind a CRC-32.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TFile;

// CRC-32 with polynomial 0x04C11DB7, most significant bit first, no final XOR; the caller's
// start value.
uint32_t Crc32Update(uint32_t crc, const uint8_t* data, size_t length);

// The first field of every saved settings and profile file.
const int32_t kSaveFileStamp = 1000;
const size_t kMaxStringBytes = 0x7FFF;
// The largest magnitude a field of thousandths (an int32) holds: a value a saved record could
// not give back is refused where a data file is read.
const float kMaxMilliValue = 2147483.0f;

class TBaseBuffer {
public:
    TBaseBuffer() = default;
    virtual ~TBaseBuffer() = default;

    virtual bool SaveToFile(const std::string& path, bool withChecksum, uint32_t seed);
    virtual bool LoadFromFile(const std::string& path, bool withChecksum, uint32_t seed);
    // Labels announce groups of fields to readers of the code; nothing is stored.
    virtual void BeginWriteSection(const char* /*label*/) {}
    virtual void BeginReadSection(const char* /*label*/) {}
    // Empties the bytes and resets the positions; the error flag stays.
    virtual void Clear();
    virtual void WriteByte(int value);
    // Block of the other buffer's bytes, then their checksum with seed 0.
    virtual void WriteBuffer(const TBaseBuffer& other);
    // 0 past the end, without moving.
    virtual int ReadByte();
    // Replaces the other buffer's bytes (its positions stay); the checksum is skipped unchecked.
    virtual void ReadBuffer(TBaseBuffer& other);
    // 0 for no bytes whatever the seed.
    virtual uint32_t Checksum(uint32_t seed) const;

    void WriteInt32(int32_t value);
    int32_t ReadInt32();
    // The low 16 bits; read back sign-extended (FF FF is -1).
    void WriteInt16(int32_t value);
    int16_t ReadInt16();
    // Thousandths in an int32, truncated toward zero.
    void WriteMilli(float value);
    float ReadMilli();
    // 16-bit length and the bytes; a length with the top bit set reads as "", so no text
    // longer than kMaxStringBytes can be stored.
    void WriteString(const std::string& text);
    void ReadString(std::string& out);
    // ReadString answering the text, with the same bounds.
    std::string ReadStringValue();
    void WriteBlock(const std::vector<uint8_t>& bytes);
    void WriteBlock(const uint8_t* bytes, size_t length);
    // Replaces the array. A negative length reads nothing more; a length beyond the data
    // takes what remains.
    void ReadBlock(std::vector<uint8_t>& out);

    const std::vector<uint8_t>& Bytes() const { return mBytes; }
    size_t Size() const { return mBytes.size(); }
    size_t ReadPosition() const { return mReadPos; }
    bool ReadAtEnd() const { return mReadPos >= mBytes.size(); }
    size_t BytesLeft() const { return mReadPos < mBytes.size() ? mBytes.size() - mReadPos : 0; }
    bool HasError() const { return mError; }
    void SetError(bool error) { mError = error; }

protected:
    std::vector<uint8_t> mBytes;
    // Positions in bytes; every field moves them by whole bytes.
    size_t mHighWater = 0;
    size_t mReadPos = 0;
    size_t mWritePos = 0;
    bool mError = false;
};

// A buffer saved and loaded as a whole file. The save goes to a temporary file beside the
// target, is flushed to disk and renamed over it, so a crash or a full disk never leaves a
// half-written save.
class TBufferBin : public TBaseBuffer {
public:
    ~TBufferBin() override = default;
    bool SaveToFile(const std::string& path, bool withChecksum, uint32_t seed) override;
    bool LoadFromFile(const std::string& path, bool withChecksum, uint32_t seed) override;
    // LoadFromFile of a file the caller opened, sized on that handle, and closed: a loader
    // that checked the size first reads the very file it measured.
    bool LoadFromOpenFile(TFile& file, bool withChecksum, uint32_t seed);
};

// Moves a save file that failed its checks aside, so writing the defaults does not destroy
// it: to "<path>.bad", or "<path>.bad1", "<path>.bad2", ... when earlier damaged copies are
// there. The real name it was kept under goes to keptAs; false when there was nothing to
// move or the move failed. A damaged file that could not be kept is never saved over: every
// save of its path answers false while it is there.
bool KeepBadFile(const std::string& path, std::string* keptAs = nullptr);

// The two calls behind keeping a damaged file, replaceable: tests take the rename that
// refuses an existing target away, as some file systems do, and let another save land while
// the file is being kept. Null members restore the system's own.
struct TKeepFileCalls {
    int (*mRenameNoReplace)(const char* from, const char* to) = nullptr;
    int (*mLink)(const char* from, const char* to) = nullptr;
};
void SetKeepFileCalls(const TKeepFileCalls& calls);
