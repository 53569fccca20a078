#include "graphics/OClipBucks.h"

#include "graphics/GraphHost.h"
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"

bool OClipBucks::LoadSet(int count, const std::string& base) {
    const size_t before = clips_.size();
    for (int i = 0; i < count; ++i) {
        auto* clip = new OClip();
        if (clip->Load(base + std::to_string(i) + ".clp")) {
            clips_.push_back(clip);
            continue;
        }
        clip->Destroy();
        for (size_t k = before; k < clips_.size(); ++k) {
            if (!IsLive(clips_[k])) continue;
            clips_[k]->SetKeep(false);
            clips_[k]->Destroy();
        }
        clips_.resize(before);
        return false;
    }
    SetCurrent(0);
    return true;
}

void OClipBucks::CopyFrom(const OClipBucks& other) {
    for (OClip* clip : other.clips_) {
        if (!IsLive(clip)) continue;
        if (auto* copy = dynamic_cast<OClip*>(clip->Clone())) clips_.push_back(copy);
    }
    current_ = other.current_;
    depth_ = other.depth_;
    frameRate_ = other.frameRate_;
}

OClip* OClipBucks::Current() const {
    if (current_ < 0 || static_cast<size_t>(current_) >= clips_.size()) return nullptr;
    OClip* clip = clips_[static_cast<size_t>(current_)];
    return IsLive(clip) ? clip : nullptr;
}

void OClipBucks::SetCurrent(int index) {
    current_ = index;
    ShowCurrent();
}

void OClipBucks::HideAll() {
    for (OClip* clip : clips_) {
        if (!IsLive(clip)) continue;
        clip->SetVisible(false);
        clip->SetTransparency(255);
    }
}

void OClipBucks::ShowCurrent() {
    HideAll();
    if (OClip* clip = Current()) {
        clip->SetVisible(true);
        clip->SetTransparency(0);
    }
}

bool OClipBucks::IsShown() const {
    const OClip* clip = Current();
    return clip && clip->IsVisible() && clip->Transparency() < 255;
}

void OClipBucks::PlaceAt(float x, float y) {
    for (OClip* clip : clips_) {
        if (IsLive(clip)) clip->SetPosition(x, y, static_cast<float>(depth_));
    }
}

void OClipBucks::SetDepth(int depth) {
    depth_ = depth;
    for (OClip* clip : clips_) {
        if (!IsLive(clip)) continue;
        clip->SetPosition(static_cast<float>(static_cast<int>(clip->LocalX())),
                          static_cast<float>(static_cast<int>(clip->LocalY())), static_cast<float>(depth));
    }
}

void OClipBucks::SetVelocity(float vx, float vy) {
    for (OClip* clip : clips_) {
        if (IsLive(clip)) clip->SetVelocity(vx, vy, 0);
    }
}

void OClipBucks::SetRate(int rate) {
    frameRate_ = rate;
    SetClipRates(rate);
}

void OClipBucks::SetClipRates(int rate) {
    for (OClip* clip : clips_) {
        if (IsLive(clip)) clip->SetFrameRate(rate);
    }
}

void OClipBucks::SetTransparency(uint32_t transparency) {
    for (OClip* clip : clips_) {
        if (IsLive(clip)) clip->SetTransparency(transparency);
    }
}

void OClipBucks::SetKeep(bool keep) {
    for (OClip* clip : clips_) {
        if (IsLive(clip)) clip->SetKeep(keep);
    }
}

void OClipBucks::AddTo(GraphHost* window) {
    if (!window) return;
    for (OClip* clip : clips_) window->AddGraph(clip);
}

void OClipBucks::Destroy() {
    std::vector<OClip*> doomed;
    doomed.swap(clips_);
    for (OClip* clip : doomed) {
        if (IsLive(clip)) clip->Destroy();
    }
}

void OClipBucks::SetFrame(int index) {
    OClip* clip = Current();
    if (clip && index >= 0 && index < clip->FrameCount()) clip->HoldAt(index);
}

void OClipBucks::PlayFrom(int index) {
    OClip* clip = Current();
    if (clip && index >= 0 && index < clip->FrameCount()) clip->PlayFrom(index);
}

int OClipBucks::Frame() const {
    const OClip* clip = Current();
    return clip ? clip->CurrentIndex() : 0;
}

int OClipBucks::FrameCount() const {
    return !clips_.empty() && IsLive(clips_[0]) ? clips_[0]->FrameCount() : 0;
}

int OClipBucks::X() const {
    const OClip* clip = Current();
    return clip ? static_cast<int>(clip->X()) : 0;
}

int OClipBucks::Y() const {
    const OClip* clip = Current();
    return clip ? static_cast<int>(clip->Y()) : 0;
}

int OClipBucks::Width() const {
    return !clips_.empty() && IsLive(clips_[0]) ? static_cast<int>(clips_[0]->Width()) : 0;
}

int OClipBucks::Height() const {
    return !clips_.empty() && IsLive(clips_[0]) ? static_cast<int>(clips_[0]->Height()) : 0;
}
