#include "sound/video_window.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/logger.h"

namespace {

const size_t kSliceBytes = 4096;

int Clamp255(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// A damaged granule position can name a time no float holds.
float FrameEndTime(double seconds)
{
    const double limit = std::numeric_limits<float>::max();
    if (std::isnan(seconds)) return -1.0f;
    return static_cast<float>(std::max(-limit, std::min(limit, seconds)));
}

}  // namespace

uint32_t VideoPixel(int y, int cb, int cr)
{
    int u = cb - 128;
    int v = cr - 128;
    int luma = (y - 15) * 9535;
    uint32_t r = static_cast<uint32_t>(Clamp255((luma + 13074 * v) >> 13));
    uint32_t g = static_cast<uint32_t>(Clamp255((luma - 3203 * u - 6660 * v) >> 13));
    uint32_t b = static_cast<uint32_t>(Clamp255((luma + 16531 * u) >> 13));
    return 0xFF000000u | r << 16 | g << 8 | b;
}

int VideoAlpha(int luma, int cr)
{
    return Clamp255((9535 * (luma - 15) + 13074 * (cr - 128)) >> 13);
}

int VideoMaskedAlpha(int alpha, int maskAlpha)
{
    // In float: in integers every mask value above 0 would hide the pixel.
    return static_cast<int>(static_cast<float>(alpha) * (static_cast<float>(255 - maskAlpha) / 255.0f));
}

TVideoWindow::TVideoWindow()
{
    ogg_sync_init(&mSync);
    memset(&mPage, 0, sizeof mPage);
    memset(&mPacket, 0, sizeof mPacket);
    memset(&mStream, 0, sizeof mStream);
    th_info_init(&mInfo);
    th_comment_init(&mComment);
}

TVideoWindow::~TVideoWindow()
{
    Close();
    FreeDecoder();
}

void TVideoWindow::FreeDecoder()
{
    if (mDecoder) th_decode_free(mDecoder);
    mDecoder = nullptr;
    if (mSetup) th_setup_free(mSetup);
    mSetup = nullptr;
}

void TVideoWindow::Close()
{
    th_info_clear(&mInfo);
    th_comment_clear(&mComment);
    FreeDecoder();
    if (mHasStream) ogg_stream_clear(&mStream);
    mHasStream = false;
    ogg_sync_clear(&mSync);
    mData.clear();
    mData.shrink_to_fit();
}

void TVideoWindow::ResetPlayback()
{
    mPlaying = true;
    mReadOffset = 0;
    mHeaders = 0;
    // A decoder or setup still held would otherwise leak when the next open replaces it.
    FreeDecoder();
    mFrameDuration = 0.0f;
    mFrameTime = 0.0f;
    mPpStep = 0;
    mFramesDecoded = 0;
    mFramesSkipped = 0;
}

float TVideoWindow::Open(const std::string& path)
{
    // A window used before starts from a clean state: stale headers and stream would
    // make the new movie's headers read wrongly.
    if (mUsed) {
        Close();
        ResetPlayback();
    }
    mUsed = true;
    ogg_sync_init(&mSync);
    th_info_init(&mInfo);
    th_comment_init(&mComment);
    mLoopsDone = 0;
    mRewound = false;
    mFrameReady = false;
    mFrameThisPass = false;
    mTargetTime = 0.0f;

    mFile.Close();
    if (!mFile.Open(path, false)) {
        GetLogger()->LogDebug("TVideoWindow : error opening file %s", path.c_str());
        mPlaying = false;
        return 0.0f;
    }
    mName = path;
    mData.clear();
    long size = mFile.Size();
    bool read = size > 0;
    if (read) {
        mData.resize(static_cast<size_t>(size));
        read = mFile.Read(mData.data(), mData.size()) == 1;
    }
    mFile.Close();
    if (!read) {
        GetLogger()->LogMessage("TVideoWindow : cannot read movie %s", path.c_str());
        mData.clear();
        mPlaying = false;
        return 0.0f;
    }
    if (!ReadHeaders()) return 0.0f;
    return static_cast<float>(mInfo.fps_numerator) / static_cast<float>(mInfo.fps_denominator);
}

bool TVideoWindow::ReadPage()
{
    while (ogg_sync_pageout(&mSync, &mPage) != 1) {
        if (mReadOffset >= mData.size()) return false;
        size_t n = std::min(mData.size() - mReadOffset, kSliceBytes);
        char* buffer = ogg_sync_buffer(&mSync, static_cast<long>(n));
        if (!buffer) return false;
        memcpy(buffer, mData.data() + mReadOffset, n);
        ogg_sync_wrote(&mSync, static_cast<long>(n));
        mReadOffset += n;
    }
    return true;
}

bool TVideoWindow::FindTheoraStream()
{
    for (;;) {
        if (!ReadPage()) return false;
        if (!ogg_page_bos(&mPage)) {
            if (mHasStream) ogg_stream_pagein(&mStream, &mPage);
            return true;
        }
        ogg_stream_state candidate;
        ogg_stream_init(&candidate, ogg_page_serialno(&mPage));
        ogg_stream_pagein(&candidate, &mPage);
        ogg_packet packet;
        if (!mHasStream && ogg_stream_packetout(&candidate, &packet) == 1 &&
            th_decode_headerin(&mInfo, &mComment, &mSetup, &packet) > 0) {
            mStream = candidate;  // takes over the buffers
            mHasStream = true;
            mHeaders = 1;
        } else {
            ogg_stream_clear(&candidate);
        }
    }
}

bool TVideoWindow::ReadHeaderPackets()
{
    while (mHeaders < 3) {
        int got = ogg_stream_packetout(&mStream, &mPacket);
        if (got < 0) return false;
        if (got > 0) {
            // A negative answer is a damaged header: counting it would leave no decoder.
            if (th_decode_headerin(&mInfo, &mComment, &mSetup, &mPacket) <= 0) return false;
            ++mHeaders;
            continue;
        }
        if (!ReadPage()) return false;
        if (ogg_page_serialno(&mPage) == mStream.serialno) ogg_stream_pagein(&mStream, &mPage);
    }
    return true;
}

bool TVideoWindow::ReadHeaders()
{
    mPlaying = FindTheoraStream() && mHasStream && ReadHeaderPackets();
    if (mPlaying && (mInfo.frame_width > static_cast<ogg_uint32_t>(kMaxFrameSide) ||
                     mInfo.frame_height > static_cast<ogg_uint32_t>(kMaxFrameSide) ||
                     mInfo.fps_numerator == 0 || mInfo.fps_denominator == 0)) {
        GetLogger()->LogMessage("TVideoWindow : movie %s has a frame of %ux%u at %u/%u fps", mName.c_str(),
                                mInfo.frame_width, mInfo.frame_height, mInfo.fps_numerator,
                                mInfo.fps_denominator);
        mPlaying = false;
    }
    if (mPlaying) {
        mDecoder = th_decode_alloc(&mInfo, mSetup);
        mPlaying = mDecoder != nullptr;
    }
    if (mSetup) th_setup_free(mSetup);
    mSetup = nullptr;
    if (!mPlaying) return false;
    mFrameDuration = static_cast<float>(mInfo.fps_denominator) * 1000.0f / static_cast<float>(mInfo.fps_numerator);
    th_decode_ctl(mDecoder, TH_DECCTL_GET_PPLEVEL_MAX, &mPpLevelMax, sizeof mPpLevelMax);
    mPpLevel = mPpLevelMax;
    th_decode_ctl(mDecoder, TH_DECCTL_SET_PPLEVEL, &mPpLevel, sizeof mPpLevel);
    return true;
}

TVideoWindow::PacketResult TVideoWindow::RawNextPacket()
{
    for (;;) {
        int got = ogg_stream_packetout(&mStream, &mPacket);
        if (got > 0) return kPacket;
        if (got < 0) return kGap;
        if (!ReadPage()) return kEnd;
        if (ogg_page_serialno(&mPage) == mStream.serialno) ogg_stream_pagein(&mStream, &mPage);
    }
}

bool TVideoWindow::NextPacket()
{
    if (RawNextPacket() == kPacket) return true;
    mPlaying = false;
    return false;
}

bool TVideoWindow::NextPacketLooping()
{
    if (NextPacket()) return true;
    ++mLoopsDone;
    if (mListener) mListener->OnLoopCompleted(mLoopsDone);
    // A pass without a frame would rewind forever: stop whatever the loop count.
    if ((mLoops != -1 && mLoopsDone >= mLoops) || !mFrameThisPass) {
        mPlaying = false;
        return false;
    }
    mReadOffset = 0;
    mFrameTime = 0.0f;
    mTargetTime = 0.0f;
    mRewound = true;
    mFrameThisPass = false;
    // The stream state first reports the restart as a gap; the pass starts at the packet
    // that begins the stream.
    for (;;) {
        PacketResult result = RawNextPacket();
        if (result == kEnd) {
            mPlaying = false;
            return false;
        }
        if (result == kPacket && mPacket.b_o_s) break;
    }
    mPlaying = true;
    return true;
}

bool TVideoWindow::DecodeUntil(float time)
{
    // ResetPlayback turns playing on again even when Close left no movie to decode.
    if (!mPlaying || !mDecoder) return false;
    mTargetTime = time;
    while (NextPacketLooping()) {
        if (mPpStep != 0) {
            mPpLevel += mPpStep;
            if (mPpLevel >= 0 && mPpLevel <= 7) th_decode_ctl(mDecoder, TH_DECCTL_SET_PPLEVEL, &mPpLevel, sizeof mPpLevel);
            mPpStep = 0;
        }
        if (mPacket.granulepos >= 0) th_decode_ctl(mDecoder, TH_DECCTL_SET_GRANPOS, &mPacket.granulepos, sizeof mPacket.granulepos);
        ogg_int64_t granule = -1;
        if (th_decode_packetin(mDecoder, &mPacket, &granule) != 0) continue;
        ++mFramesDecoded;
        mFrameReady = true;
        mFrameThisPass = true;
        mFrameTime = granule >= 0 ? FrameEndTime(th_granule_time(mDecoder, granule)) : -1.0f;
        if (mTargetTime <= mFrameTime) break;
        ++mFramesSkipped;
        if (mPpLevel > 0) mPpStep = -1;
    }
    float lead = mFrameTime - mTargetTime;
    float duration = mFrameDuration / 1000.0f;
    if (lead > duration) {
        if (mPpLevel < mPpLevelMax) mPpStep = 1;
    } else if (lead < duration) {
        if (mPpLevel > 0) mPpStep = -1;
    }
    return true;
}

void TVideoWindow::UploadFrame(const TexturePtr& texture, bool recordAlpha)
{
    Upload(texture, recordAlpha, false);
}

void TVideoWindow::UploadFrameWithAlpha(const TexturePtr& texture, bool recordAlpha)
{
    Upload(texture, recordAlpha, true);
}

void TVideoWindow::Upload(const TexturePtr& texture, bool recordAlpha, bool withAlpha)
{
    // Without a decoded frame the decoder hands out no planes to read.
    if (!mFrameReady || !mDecoder) return;
    th_ycbcr_buffer planes;
    if (th_decode_ycbcr_out(mDecoder, planes) != 0) return;
    const int picW = static_cast<int>(mInfo.pic_width);
    const int picH = static_cast<int>(mInfo.pic_height);
    const int outW = withAlpha ? picW / 2 : picW;
    const int half = picW / 2;

    uint32_t* pixels = nullptr;
    int pitch = 0;
    TTexture* target = texture.Get();
    bool locked = target && target->Lock(&pixels, &pitch) && pixels;
    // Pixels go only where both texture and picture have them.
    int copyW = locked ? std::min({outW, target->GetWidth(), pitch}) : 0;
    int copyH = locked ? std::min(picH, target->GetHeight()) : 0;

    if (recordAlpha) mAlphaGrid.assign(static_cast<size_t>(picH), std::vector<int>(static_cast<size_t>(outW), 255));
    if (withAlpha) mVisibleAlpha = false;
    TTexture* mask = withAlpha ? mMask.Get() : nullptr;
    const int maskW = mask ? mask->GetWidth() : 0;
    const int maskH = mask ? mask->GetHeight() : 0;

    std::vector<uint32_t> row(static_cast<size_t>(outW));
    for (int r = 0; r < picH; ++r) {
        const uint8_t* lumaRow = planes[0].data + static_cast<ptrdiff_t>(r) * planes[0].stride;
        const uint8_t* cbRow = planes[1].data + static_cast<ptrdiff_t>(r / 2) * planes[1].stride;
        const uint8_t* crRow = planes[2].data + static_cast<ptrdiff_t>(r / 2) * planes[2].stride;
        for (int x = 0; x < outW; ++x) {
            uint32_t pixel = VideoPixel(lumaRow[x], cbRow[x / 2], crRow[x / 2]);
            if (withAlpha) {
                int alpha = VideoAlpha(lumaRow[x + half], crRow[x / 2 + picW / 4]);
                if (mask) {
                    int64_t mx = static_cast<int64_t>(x) + mMaskOffsetX;
                    int64_t my = static_cast<int64_t>(r) + mMaskOffsetY;
                    if (mx < 0 || my < 0 || mx >= maskW || my >= maskH)
                        alpha = 0;
                    else
                        alpha = VideoMaskedAlpha(alpha, mask->GetAlphaAt(static_cast<int>(mx), static_cast<int>(my)));
                    if (alpha > 0) mVisibleAlpha = true;
                }
                pixel = static_cast<uint32_t>(alpha) << 24 | (pixel & 0x00FFFFFFu);
                if (recordAlpha) mAlphaGrid[static_cast<size_t>(r)][static_cast<size_t>(x)] = alpha;
            }
            row[static_cast<size_t>(x)] = pixel;
        }
        if (r < copyH && copyW > 0)
            memcpy(pixels + static_cast<ptrdiff_t>(r) * pitch, row.data(), static_cast<size_t>(copyW) * sizeof(uint32_t));
    }
    if (locked) target->Unlock();
    mHalfWidth = withAlpha;
    mUploaded = true;
}

int TVideoWindow::AlphaAt(int x, int y) const
{
    if (y < 0 || static_cast<size_t>(y) >= mAlphaGrid.size()) return 0;
    const std::vector<int>& row = mAlphaGrid[static_cast<size_t>(y)];
    if (x < 0 || static_cast<size_t>(x) >= row.size()) return 0;
    return row[static_cast<size_t>(x)];
}
