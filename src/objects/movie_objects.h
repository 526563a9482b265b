// Movie objects: a movie played in the scene, the ghost the lens finds, and a wrapper that
// reacts when a movie has played to its end.
#pragma once
#include "objects/lens_target.h"
#include "objects/object.h"
#include "sound/video_window.h"

// A movie object's listener; both notifications are empty unless a kind answers them.
class TVideoObjectListener {
public:
    virtual ~TVideoObjectListener() = default;
    virtual void OnPlaybackFinished() {}
    virtual void OnVideoFinished(int /*loopsDone*/) {}
};

class TVideoObject : public TObject, public TVideoWindowDataListener {
public:
    ~TVideoObject() override;
    int GetTypeCode() const override { return 10; }
};

// Seen only through the ghost catcher's lens: the room reveals it each frame the lens lies over
// it and hides it again otherwise.
class TGhostObject : public TVideoObject, public TLensTarget {
public:
    ~TGhostObject() override;
    int GetTypeCode() const override { return 22; }
};

class TFinishVideoWrapperObject : public TObject, public TVideoObjectListener {
public:
    ~TFinishVideoWrapperObject() override;
    int GetTypeCode() const override { return 78; }
};
