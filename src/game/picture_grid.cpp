#include "game/picture_grid.h"

#include <algorithm>

void TPictureGrid::Reset(int width, int height)
{
    if (width <= 0 || height <= 0) width = height = 0;
    mWidth = width;
    mHeight = height;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    mNumbers.assign(n, 0);
    mPainted.assign(n, kUnpainted);
    mVisible.assign(n, 1);
    mVisited.assign(n, 0);
    mHighlight.assign(n, 0);
    mSeeds.clear();
    MarkAllChanged();
}

// A long list costs more than a whole redraw, and must not grow with every fill.
bool TPictureGrid::TooManyMarks(size_t marks) const
{
    return marks > 4096 && marks > mNumbers.size() / 8;
}

void TPictureGrid::MarkChanged(int index)
{
    if (mAllChanged) return;
    mChanged.push_back(index);
    if (TooManyMarks(mChanged.size())) MarkAllChanged();
}

void TPictureGrid::MarkChangedSpans(const std::vector<int32_t>& spans, size_t cells)
{
    if (mAllChanged) return;
    if (TooManyMarks(mChanged.size() + cells)) {
        MarkAllChanged();
        return;
    }
    for (size_t s = 0; s + 1 < spans.size(); s += 2)
        for (int32_t i = spans[s]; i < spans[s + 1]; ++i) mChanged.push_back(i);
}

void TPictureGrid::MarkAllChanged()
{
    mAllChanged = true;
    mChanged.clear();
}

bool TPictureGrid::TakeChanges(std::vector<int32_t>* indices)
{
    const bool all = mAllChanged;
    indices->swap(mChanged);
    mChanged.clear();
    mAllChanged = false;
    return all;
}

// A scanline fill over a stack of seeds: recursion to the depth of the area overflows the
// stack on a one-colour picture of a million cells.
int TPictureGrid::FillArea(int column, int row, uint8_t color)
{
    if (!Contains(column, row)) return 0;
    const int start = IndexOf(column, row);
    const uint8_t key = mNumbers[start];
    // The cell-by-cell fill paints its start only on the way back from a same-number
    // neighbour: an isolated cell stays as it is.
    const bool hasTwin = (row > 0 && mNumbers[start - mWidth] == key) ||
                         (row + 1 < mHeight && mNumbers[start + mWidth] == key) ||
                         (column > 0 && mNumbers[start - 1] == key) ||
                         (column + 1 < mWidth && mNumbers[start + 1] == key);
    if (!hasTwin) return 0;

    std::fill(mVisited.begin(), mVisited.end(), 0);
    const uint8_t* numbers = mNumbers.data();
    uint8_t* painted = mPainted.data();
    uint8_t* visited = mVisited.data();
    const int width = mWidth;
    const int size = static_cast<int>(mNumbers.size());
    // Locals, so that the byte stores below need not be assumed to touch them; the members
    // keep their storage between fills.
    std::vector<int32_t> seeds, spans;
    seeds.swap(mSeeds);
    spans.swap(mSpans);
    seeds.clear();
    spans.clear();
    int count = 0;
    seeds.push_back(start);
    while (!seeds.empty()) {
        const int seed = seeds.back();
        seeds.pop_back();
        if (visited[seed]) continue;
        const int rowStart = seed - seed % width;
        const int rowEnd = rowStart + width;
        int left = seed;
        while (left > rowStart && numbers[left - 1] == key && !visited[left - 1]) --left;
        int right = seed + 1;
        while (right < rowEnd && numbers[right] == key && !visited[right]) ++right;
        // The marks are taken once for the whole fill: a mark per cell keeps these two
        // stores from becoming plain block writes and doubles the time of a large fill.
        std::fill(visited + left, visited + right, 1);
        std::fill(painted + left, painted + right, color);
        spans.push_back(left);
        spans.push_back(right);
        count += right - left;
        // One seed per run of unvisited same-number cells above and below the span.
        for (int offset : {-width, width}) {
            const int first = left + offset;
            if (first < 0 || first >= size) continue;
            bool inRun = false;
            for (int i = first; i < right + offset; ++i) {
                const bool open = numbers[i] == key && !visited[i];
                if (open && !inRun) seeds.push_back(i);
                inRun = open;
            }
        }
    }
    MarkChangedSpans(spans, static_cast<size_t>(count));
    mSeeds.swap(seeds);
    mSpans.swap(spans);
    return count;
}

void TPictureGrid::ComputeCompletion(int colorCount, std::vector<bool>* bits) const
{
    bits->assign(std::max(colorCount, 0), true);
    const size_t n = mNumbers.size();
    for (size_t i = 0; i < n; ++i) {
        const uint8_t number = mNumbers[i];
        if (mVisible[i] && mPainted[i] != number && number < colorCount) (*bits)[number] = false;
    }
}
