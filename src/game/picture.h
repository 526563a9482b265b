// The model of one mosaic picture: an 8-bit paletted level picture turned into numbered
// cells that the player paints, fills, pans and zooms; errors, finished colours, drawing
// into the play view and flat previews, and the player's progress file.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/cell_item.h"
#include "game/picture_grid.h"
#include "graphics/static_image.h"
#include "ui/mouse_event.h"

class TFile;

class TPaintByNumberListener {
public:
    virtual ~TPaintByNumberListener() = default;
    // cell: the cell under the release point (also outside the viewport), or null.
    virtual void OnStrokeErrors(TPaintByNumberItem* /*cell*/, int /*count*/) {}
    virtual void OnStrokeFinished() {}
    virtual void OnCellPainted(TPaintByNumberItem* /*cell*/) {}
    virtual void OnAreaFilled() {}
};

class TPaintByNumber {
public:
    TPaintByNumber();
    virtual ~TPaintByNumber();
    TPaintByNumber(const TPaintByNumber&) = delete;
    TPaintByNumber& operator=(const TPaintByNumber&) = delete;

    // Each answers false: the model never swallows an event.
    virtual bool MouseDown(const TMouseEvent& event);
    virtual bool MouseMove(const TMouseEvent& event);
    virtual bool MouseDrag(const TMouseEvent& event);
    virtual bool MouseUp(const TMouseEvent& event);
    virtual bool DoubleClick(const TMouseEvent& event);

    // folder: the current user's id as text; the progress file is "user:<folder>/<base>.dat".
    void LoadPicture(int cellSize, const std::string& pictureName, const std::string& folder);
    // The same with the picture's paletted texture already made (in-memory pictures).
    void LoadPicture(int cellSize, const std::string& pictureName, const std::string& folder,
                     const TexturePtr& picture);
    void LoadCellTextures(int cellSize);
    void SelectColor(int number);
    void UpdateCompletion();
    bool AllColorsComplete() const;
    int CountCompleteColors() const;
    void ResetView();
    void SetPanFromNavigator(float u, float v);
    // The cell-by-cell draw: the reference for every other way the play view is drawn.
    void Draw(float alpha);
    // The area filled with `back`, then Draw: the same pixels, through a window-sized texture
    // that is rebuilt from the cells' own pixels, drawn once per look, and touched only where
    // the model marked a cell changed or the view moved; an unchanged frame costs one copy.
    void DrawOverFill(float alpha, const SDL_Rect& area, const float back[4]);
    // The flat picture, fitted and centred on opaque white, as the image's new texture.
    void RenderToTexture(StaticImage* image, int width, int height);
    // Rewrites the event's x and y into picture pixels.
    TPaintByNumberItem* CellAt(TMouseEvent* event);
    // Answers the number of cells painted.
    int FillArea(TPaintByNumberItem* cell);
    // A progress file that could not be read is never saved over while the picture stays.
    bool SaveProgress(const std::string& path);
    // False when the file cannot be read; the cells and the errors then stay as they were.
    bool LoadProgress(const std::string& path);
    void ClearCells();
    // Back to the state of a picture that failed to load, without a progress file.
    void Unload();

    int GetRowCount() const { return mGrid.Height(); }
    int GetColumnCount() const { return mGrid.Width(); }
    TPaintByNumberItem* GetCell(int column, int row);
    int PictureWidth() const;
    int PictureHeight() const;
    const std::string& GetProgressPath() const { return mProgressPath; }

    float mZoom = 1.0f;
    float mMaxZoom = 3.0f;
    float mMinZoom = 0.1f;
    float mFitZoom = 1.0f;
    std::vector<TRgbaF> mColors;
    std::vector<TRgbaF> mGreyRamp;
    std::vector<float> mLightness;
    int32_t mSelectedColor = 1;
    int32_t mErrors = 0;
    int32_t mStrokeErrors = 0;
    int32_t mColorCount = 0;
    int32_t mOriginX = 0;
    int32_t mOriginY = 0;
    int32_t mPressX = 0;
    int32_t mPressY = 0;
    int32_t mDragX = 0;
    int32_t mDragY = 0;
    int32_t mPanX = 0;
    int32_t mPanY = 0;
    std::vector<bool> mCompletion;
    int32_t mViewportX = 0;
    int32_t mViewportY = 0;
    int32_t mViewportWidth = 0;
    int32_t mViewportHeight = 0;
    int32_t mStrokeState = 0;  // 0 idle, 1 panning, 2 painting
    TPaintByNumberListener* mListener = nullptr;
    int mDrawnImages = 0;  // images the last Draw sent to the renderer

private:
    bool Inside(int x, int y) const;
    void AddError();
    void ApplyPaint(TPaintByNumberItem* cell, bool notify);
    void ComputeRampAndLightness();
    void ComputeFit();
    bool ReadProgressOrSetAside();
    bool ReadProgress(TFile& file, const std::string& path);
    // The cells the cell-by-cell draw visits at this view offset: [c0, c1) x [r0, r1).
    void VisibleCells(int offsetX, int offsetY, int* c0, int* r0, int* c1, int* r1) const;
    void ViewOffset(int* x, int* y);
    // Draw's clip, offset and zoom, and their undoing.
    void BeginViewDraw();
    void EndViewDraw();

    // The play view's cache (picture_view.cpp).
    struct TViewCache;
    bool ViewGeometry(TViewCache& view);
    bool PrepareViewCache(TViewCache& view, const SDL_Rect& area, const float back[4]);
    void CleanScratch(TViewCache& view);
    void DrawReferenceOnScratch(TViewCache& view, float alpha);
    void DrawMissingTiles(TViewCache& view, float alpha);
    void ComposeAll(TViewCache& view, float alpha);
    void ComposeSeams(TViewCache& view, float alpha);
    void ComposeCells(TViewCache& view, float alpha);

    StaticImage mPictureImage;
    StaticImage mNumbersImage;
    StaticImage mFrameImage;
    StaticImage mPaintedImage;
    StaticImage mUnpaintedImage;
    int mCellSize = 0;
    std::vector<TPaintByNumberItem> mCells;  // the rows one after another, from the top
    TPictureGrid mGrid;
    TPaintByNumberCellShared mShared;  // what every cell reads: images, lists, arrays
    std::string mProgressPath;
    bool mProgressUnread = false;  // the file is there but was not read: not to be saved over

    std::unique_ptr<TViewCache> mView;
    uint64_t mTextureGeneration = 0;  // bumped when the cell images or the cells are replaced
};
