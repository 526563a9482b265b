// The cells of one picture as compact per-picture byte arrays: number, painted value,
// visibility and the fill's visited mark. The cell sprites read and write through them, so
// the area fill and the completion check walk a million cells without touching a sprite.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class TPictureGrid {
public:
    static constexpr uint8_t kUnpainted = 255;

    // Every cell numbered 0, unpainted, visible, unvisited and not highlighted.
    void Reset(int width, int height);
    void Clear() { Reset(0, 0); }

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    size_t Size() const { return mNumbers.size(); }
    int IndexOf(int column, int row) const { return row * mWidth + column; }
    bool Contains(int column, int row) const
    {
        return column >= 0 && column < mWidth && row >= 0 && row < mHeight;
    }

    // Paints the 4-connected area of the start cell's number with `color` and answers how many
    // cells it painted. An area of a single cell paints nothing. White cells are filled like
    // any other: they carry the number of the colour that took white's place.
    int FillArea(int column, int row, uint8_t color);

    // bits[n] for every n below colorCount: no visible cell of number n is unpainted or wrong.
    void ComputeCompletion(int colorCount, std::vector<bool>* bits) const;

    // Whoever writes a cell's painted value, visibility or highlight marks it, so the play
    // view redraws what changed without comparing every cell each frame.
    void MarkChanged(int index);
    void MarkAllChanged();
    // Hands the marks over and clears them; answers true when every cell counts as changed
    // (a new picture, a loaded progress file, more marks than are worth listing).
    bool TakeChanges(std::vector<int32_t>* indices);

    std::vector<uint8_t> mNumbers;
    std::vector<uint8_t> mPainted;
    std::vector<uint8_t> mVisible;
    std::vector<uint8_t> mVisited;
    std::vector<uint8_t> mHighlight;  // the cell's number is the selected colour

private:
    bool TooManyMarks(size_t marks) const;
    // spans: begin and end indices one pair after another; cells: the cells they cover.
    void MarkChangedSpans(const std::vector<int32_t>& spans, size_t cells);

    int mWidth = 0;
    int mHeight = 0;
    std::vector<int32_t> mSeeds;  // kept between fills: a big fill allocates once
    std::vector<int32_t> mSpans;  // the runs a fill painted, marked changed at its end
    std::vector<int32_t> mChanged;
    bool mAllChanged = true;
};
