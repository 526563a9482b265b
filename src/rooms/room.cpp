#include "rooms/room.h"

#include <SDL.h>
#include <tinyxml.h>

#include <algorithm>

#include "core/app_state.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "objects/object.h"
#include "objects/object_factory.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"

TFloatRect RectIntersect(const TFloatRect& a, const TFloatRect& b)
{
    TFloatRect r;
    const float left = std::max(a.x, b.x);
    const float right = std::min(a.x + a.w, b.x + b.w);
    const float top = std::max(a.y, b.y);
    const float bottom = std::min(a.y + a.h, b.y + b.h);
    if (right - left < 0.0f || bottom - top < 0.0f) return r;
    r.x = left;
    r.y = top;
    r.w = right - left;
    r.h = bottom - top;
    return r;
}

TBaseRoom::TBaseRoom() = default;

TBaseRoom::~TBaseRoom() = default;

void TBaseRoom::LoadAttributes(TiXmlElement* common)
{
    if (!common) return;
    mSpaceName = GetAttrString(common, "name", "");
    SetName(mSpaceName);
    mDataFolder = GetAttrString(common, "folder", "");
    GetAttrRect(common, "cliprect", &mClipX, &mClipY, &mClipW, &mClipH, ".");
    mShowSound = GetAttrString(common, "showsound", "");
    GetAttrList(common, "runsounds", ',', mShowSounds);
    GetAttrList(common, "music", ',', mMusic);
    mStartMusicNow = GetAttrBool(common, "StartMusicNow", true) && !mMusic.empty();
    mStopPrevMusic = GetAttrBool(common, "StopPrevMusic", true);
    mAnywayStartMusicAfterShowCount = GetAttrInt(common, "AnywayStartMusicAfterShowCount", 0);
}

void TBaseRoom::LoadObjects(TiXmlElement* element, TObject* parent)
{
    if (!element) return;
    TBaseObjectFactory* factory = GetAppState().mObjectFactory.get();
    for (TiXmlElement* e = element->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
        const std::string type = GetAttrString(e, "type", "");
        std::unique_ptr<TObject> object(factory ? factory->Create(type) : (type.empty() ? new TObject() : nullptr));
        if (!object) continue;  // an unknown kind takes its nested objects with it
        object->mOwnerSpace = this;
        object->mStateKey = GetAttrString(e, "id", "");
        object->mTypeName = type;
        object->LoadXml(e, mDataFolder);
        object->SetListener(this);
        TObject* loaded = object.get();
        if (parent) {
            if (!parent->AddChild(object.get())) continue;
            object.release();
        } else {
            mObjects.push_back(std::move(object));
        }
        LoadObjects(e, loaded);
        loaded->OnLoaded();
    }
}

// The room updates its objects itself: its objects-update flag stays clear.
bool TBaseRoom::Update(float dt)
{
    for (auto& object : mObjects) object->Update(dt);
    mOverlay.Update(dt);
    return false;
}

// Only the first layer is the room's; the clip goes away afterwards, whatever the caller had.
void TBaseRoom::Draw()
{
    SDL_Renderer* renderer = GetRenderer();
    if (renderer && mClipW > 0) {
        SDL_Rect clip{mClipX, mClipY, mClipW, mClipH};
        SDL_RenderSetClipRect(renderer, &clip);
    }
    if (mClipW <= 0 || mClipH > 0) {
        for (auto& object : mObjects) {
            if (object->mLayer == 0) object->Draw(1.0f);
        }
        mOverlay.Draw();
    }
    if (renderer) SDL_RenderSetClipRect(renderer, nullptr);
}

TRoom::TRoom() = default;

TRoom::~TRoom() = default;

bool TRoom::LoadFromXml(const std::string& path)
{
    TiXmlElement* root = LoadXmlDocument(path);
    if (!root) {
        DeleteCurrentXmlDocument();
        return false;
    }
    mFilePath = path;
    LoadAttributes(root->FirstChildElement("Common"));
    if (TiXmlElement* objects = root->FirstChildElement("Objects")) LoadObjects(objects, nullptr);
    if (!mObjects.empty()) mObjects.front()->mCheckOnlyBounds = true;
    DeleteCurrentXmlDocument();
    return true;
}

void TRoom::LoadObjectResources(int mode)
{
    if (mResourcesLoaded) return;
    TGameSpace::LoadObjectResources(mode);
}

void TRoom::FreeObjectResources()
{
    if (!mResourcesLoaded) return;
    TGameSpace::FreeObjectResources();
}

void TRoom::OnFirstShow()
{
    for (auto& object : mObjects) object->OnSpaceFirstShown();
    mSavedFlagB = false;
}

void TRoom::OnShow()
{
    TGameSpace::OnShow();
    TSoundManager* sound = GetSoundManager();
    if (TGameCursors* cursors = GetCursors()) cursors->SelectDefault();
    // Taking the marker out of a list that owns it would lose it: it goes for good.
    if (DrawObject* marker = mOverlay.FindReservedName()) {
        mOverlay.Remove(marker);
        delete marker;
    }
    if (!sound) return;
    const bool anyway = mAnywayStartMusicAfterShowCount > 0 && mShowCount >= mAnywayStartMusicAfterShowCount;
    if (!mMusic.empty() && (mStartMusicNow || anyway)) {
        sound->PlayMusic(mMusic.front());
    } else if (mStopPrevMusic) {
        sound->StopAllMusic();
    }
}
