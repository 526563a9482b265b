// Plays an Ogg Theora movie into a lockable texture: the whole file is read into memory,
// decoded up to the time its owner asks for, and converted to ARGB, optionally with the
// alpha carried by the picture's right half and cut by a mask texture.
#pragma once
#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/virtual_files.h"
#include "graphics/texture.h"

// Implemented by the movie objects that own a window.
class TVideoWindowDataListener {
public:
    virtual ~TVideoWindowDataListener() = default;
    virtual void OnLoopCompleted(int /*loopsDone*/) {}
};

// The conversions of one pixel, in the 13-bit fixed point the uploads use.
uint32_t VideoPixel(int y, int cb, int cr);
int VideoAlpha(int luma, int cr);
int VideoMaskedAlpha(int alpha, int maskAlpha);

class TVideoWindow {
public:
    // Frames wider or taller than this are refused: a few bytes of header could otherwise
    // make the decoder allocate gigabytes.
    static const int kMaxFrameSide = 4096;

    TVideoWindow();
    ~TVideoWindow();
    TVideoWindow(const TVideoWindow&) = delete;
    TVideoWindow& operator=(const TVideoWindow&) = delete;

    // Frames per second, or 0 when the movie cannot play.
    float Open(const std::string& path);
    void ResetPlayback();
    void Close();
    bool DecodeUntil(float time);
    void UploadFrame(const TexturePtr& texture, bool recordAlpha);
    void UploadFrameWithAlpha(const TexturePtr& texture, bool recordAlpha);
    int AlphaAt(int x, int y) const;

    bool IsPlaying() const { return mPlaying; }
    float GetFrameDuration() const { return mFrameDuration; }
    float GetFrameTime() const { return mFrameTime; }
    int GetPostProcessingLevel() const { return mPpLevel; }
    int GetMaxPostProcessingLevel() const { return mPpLevelMax; }
    int GetPendingLevelStep() const { return mPpStep; }
    int GetFramesDecoded() const { return mFramesDecoded; }
    int GetFramesSkipped() const { return mFramesSkipped; }
    int GetLoopsDone() const { return mLoopsDone; }
    int GetPictureWidth() const { return static_cast<int>(mInfo.pic_width); }
    int GetPictureHeight() const { return static_cast<int>(mInfo.pic_height); }
    bool IsHalfWidth() const { return mHalfWidth; }
    bool HasVisibleAlpha() const { return mVisibleAlpha; }
    bool IsUploaded() const { return mUploaded; }
    // The owner shows no frame until the next upload.
    void ClearUploaded() { mUploaded = false; }
    // Whether the last upload was cut by a mask and left some pixel visible; the owner clears it
    // when it takes the mask away.
    void ClearLensCut() { mVisibleAlpha = false; }
    const std::string& GetName() const { return mName; }

    // Set by the owner, which reads and clears it.
    bool mRewound = false;
    // Written directly by the owner.
    int mLoops = 1;  // -1: endless
    int mMaskOffsetX = 0;
    int mMaskOffsetY = 0;
    TexturePtr mMask;
    TVideoWindowDataListener* mListener = nullptr;

private:
    enum PacketResult { kPacket, kGap, kEnd };

    bool ReadPage();
    bool ReadHeaders();
    bool FindTheoraStream();
    bool ReadHeaderPackets();
    PacketResult RawNextPacket();
    bool NextPacket();
    bool NextPacketLooping();
    void Upload(const TexturePtr& texture, bool recordAlpha, bool withAlpha);
    void FreeDecoder();

    bool mPlaying = true;
    size_t mReadOffset = 0;
    ogg_sync_state mSync;
    ogg_page mPage;
    ogg_packet mPacket;
    ogg_stream_state mStream;
    bool mHasStream = false;
    int mHeaders = 0;
    th_info mInfo;
    th_comment mComment;
    th_dec_ctx* mDecoder = nullptr;
    th_setup_info* mSetup = nullptr;
    float mFrameDuration = 0.0f;  // milliseconds
    float mFrameTime = 0.0f;      // seconds, end of the last decoded frame
    int mPpLevel = 0;
    int mPpLevelMax = 0;
    int mPpStep = 0;
    int mFramesDecoded = 0;
    int mFramesSkipped = 0;
    std::vector<uint8_t> mData;
    float mTargetTime = 0.0f;
    std::string mName;
    TFile mFile;
    int mLoopsDone = 0;
    bool mHalfWidth = false;
    bool mVisibleAlpha = false;
    bool mUploaded = false;
    // A frame exists to convert only once one was decoded since the open.
    bool mFrameReady = false;
    // A pass that yields no frame would rewind forever.
    bool mFrameThisPass = false;
    bool mUsed = false;
    std::vector<std::vector<int>> mAlphaGrid;
};
