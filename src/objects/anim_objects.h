// Scene objects animated frame by frame.
#pragma once
#include "core/SharedPtr.h"
#include "graphics/cadr_image.h"
#include "objects/object.h"

// Plays a frame sheet; frame effectors set its sheet up when they are bound to it.
class TCadrObject : public TObject {
public:
    int GetTypeCode() const override { return 18; }

    SharedPtr<TCadrImage> mCadrImage;  // null until set
};
