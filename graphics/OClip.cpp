#include "graphics/OClip.h"

#include <algorithm>
#include <cstdio>
#include <istream>

#include "graphics/ArtDetail.h"
#include "graphics/GraphHost.h"
#include "graphics/OGraphNotify.h"
#include "graphics/ClipFileReader.h"
#include "graphics/ClipFormat.h"
#include "graphics/FileBytes.h"
#include "graphics/LiveSet.h"
#include "graphics/OBitmap.h"
#include "platform/ProgramPath.h"

namespace {

int32_t Trunc(float v) {
    return static_cast<int32_t>(v);
}

using namespace graphics::clip_format;

}  // namespace

OGraph* OClip::ChildAt(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= children_.size()) return nullptr;
    OGraph* child = children_[static_cast<size_t>(index)];
    return IsLive(child) ? child : nullptr;
}

OGraph* OClip::DisplayedFrame() const {
    if (OGraph* shown = ChildAt(shownIndex_)) return shown;
    return ChildAt(currentIndex_);
}

void OClip::OffsetChildren(float dx, float dy, float ddepth) {
    for (size_t i = 0; i < children_.size(); ++i) {
        if (IsLive(children_[i])) children_[i]->Offset(dx, dy, ddepth);
    }
}

bool OClip::ChangesBounds(float dx, float dy, float ddepth) const {
    return Trunc(X() + dx) != Trunc(X()) || Trunc(Y() + dy) != Trunc(Y()) ||
           Trunc(Depth() + ddepth) != Trunc(Depth());
}

void OClip::Reset() {
    std::vector<OGraph*> doomed;
    doomed.swap(children_);
    Commands().clear();
    frameCount_ = 0;
    for (OGraph* child : doomed) {
        if (IsLive(child)) child->Destroy();
    }
}

void OClip::SetKeep(bool keep) {
    OGraph::SetKeep(keep);
    for (OGraph* child : children_) {
        if (IsLive(child)) child->SetKeep(keep);
    }
}

void OClip::SetParent(OGraph* parent) {
    if (IsBeingDestroyed()) return;
    SaveState();
    const float x = X(), y = Y(), depth = Depth();
    OGraph::SetParent(parent);
    shownIndex_ = -1;
    currentIndex_ = 0;
    OffsetChildren(X() - x, Y() - y, Depth() - depth);
}

void OClip::AttachToWindow(GraphHost* window) {
    if (IsBeingDestroyed() || window == Window()) return;
    currentIndex_ = 0;
    shownIndex_ = 0;
    OGraph::AttachToWindow(window);
    for (size_t i = 0; i < children_.size(); ++i) {
        OGraph* child = children_[i];
        if (!IsLive(child)) continue;
        child->SetVisible(static_cast<int>(i) == currentIndex_);
        child->AttachToWindow(window);
    }
    if (!hold_) Advance(currentIndex_);
}

OGraph* OClip::Clone() {
    auto* copy = new OClip();
    copy->CopyFrom(this);
    return copy;
}

bool OClip::CopyFrom(OGraph* source) {
    if (!OGraph::CopyFrom(source)) return false;
    auto* t = dynamic_cast<OClip*>(Template());
    if (!t) return true;
    frameRate_ = t->frameRate_;
    for (OGraph* child : t->children_) {
        if (!IsLive(child)) continue;
        OGraph* frame = child->Clone();
        if (!frame) continue;
        // A frame that is itself a copy (a second frame showing one picture) would otherwise take
        // the place of the picture's first frame.
        frame->SetPosition(child->LocalX(), child->LocalY(), child->LocalDepth());
        AddChild(frame);
    }
    currentIndex_ = t->currentIndex_;
    return true;
}

void OClip::SetPosition(float x, float y, float depth) {
    const float oldX = X(), oldY = Y(), oldDepth = Depth();
    const bool redraw = IsVisible() && ChangesBounds(x - LocalX(), y - LocalY(), depth - LocalDepth());
    if (redraw) SetVisible(false);
    OGraph::SetPosition(x, y, depth);
    OffsetChildren(X() - oldX, Y() - oldY, Depth() - oldDepth);
    if (redraw) SetVisible(true);
}

// The clip hides and shows itself around a move that changes its bounds, as SetPosition does: its
// reports are clamped to its own bounds, so a frame moving by itself would lose the part of its old
// area that lies outside the clip's new bounds, and leave it on screen.
void OClip::Offset(float dx, float dy, float ddepth) {
    SaveState();
    const bool redraw = IsVisible() && ChangesBounds(dx, dy, ddepth);
    if (redraw) SetVisible(false);
    OGraph::Offset(dx, dy, ddepth);
    OffsetChildren(dx, dy, ddepth);
    if (redraw) SetVisible(true);
}

bool OClip::Load(const std::string& fileName) {
    if (fileName.size() < 2) return false;
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!graphics::ReadWholeFile(platform::ResolveDataPath(fileName), bytes, reason,
                                 graphics::kMaxClipFileBytes)) {
        std::fprintf(stderr, "clip %s: %s\n", fileName.c_str(), reason.c_str());
        return false;
    }
    FineArt fine;
    ReadFineArt(fileName, fine);
    return LoadBytes(bytes, fileName, fine.detail > 1 ? &fine : nullptr);
}

// The same clip drawn for the chosen detail. Its absence is no fault (its pictures are enlarged); a
// file that is there but cannot be read is said once and left out.
void OClip::ReadFineArt(const std::string& fileName, FineArt& fine) {
    const int32_t detail = graphics::ArtDetail();
    fine.name = graphics::FineArtName(fileName, detail);
    if (fine.name.empty() || CopyCount() > 0) return;
    const std::string path = graphics::InstalledFineArt(fine.name);
    if (path.empty()) return;
    std::string reason;
    if (!graphics::ReadClipFile(path, fine.file, reason)) {
        std::fprintf(stderr, "clip %s: %s\n", fine.name.c_str(), reason.c_str());
        return;
    }
    fine.detail = detail;
}

bool OClip::LoadFromStream(std::istream& stream, uint32_t) {
    // Read in slices up to the size cap: the stream's length is not known and not trusted.
    constexpr size_t kSlice = 64 * 1024;
    std::vector<uint8_t> bytes;
    while (stream) {
        const size_t at = bytes.size();
        if (at > graphics::kMaxClipFileBytes) return false;
        bytes.resize(at + kSlice);
        stream.read(reinterpret_cast<char*>(bytes.data() + at), static_cast<std::streamsize>(kSlice));
        bytes.resize(at + static_cast<size_t>(stream.gcount()));
    }
    return LoadFromBytes(bytes);
}

bool OClip::LoadFromBytes(std::span<const uint8_t> file) {
    return LoadBytes(file, "from memory");
}

bool OClip::LoadBytes(std::span<const uint8_t> file, const std::string& name, FineArt* fine) {
    // Shared frames never change under the copies that show them.
    if (CopyCount() > 0) return true;
    Reset();
    graphics::ClipFile clip;
    std::string reason;
    if (!graphics::ParseClipFile(file, clip, reason)) {
        std::fprintf(stderr, "clip %s: %s\n", name.c_str(), reason.c_str());
        return false;
    }
    return Build(std::move(clip), fine);
}

bool OClip::Build(graphics::ClipFile&& file, FineArt* fine) {
    frameRate_ = file.frameRate;
    std::vector<OBitmap*> pictures;
    pictures.reserve(file.pictures.size());
    for (graphics::Picture& picture : file.pictures) {
        auto* bitmap = new OBitmap();
        pictures.push_back(bitmap);
        if (!bitmap->LoadFromPicture(std::move(picture))) {
            for (OBitmap* b : pictures) b->Destroy();
            return false;
        }
    }
    if (fine) AttachFine(pictures, *fine);
    for (graphics::ClipFrame& entry : file.frames) {
        OBitmap* picture = pictures[static_cast<size_t>(entry.pictureIndex)];  // checked by the parser
        // A picture already in the clip is shown again through a copy that shares its pixels.
        OGraph* frame = picture->Parent() ? picture->Clone() : picture;
        OGraph::SetSize(std::max(Width(), frame->Width()), std::max(Height(), frame->Height()),
                        DepthExtent());
        frame->Commands().assign(entry.commands.begin(), entry.commands.end());
        frame->SetPosition(static_cast<float>(entry.x), static_cast<float>(entry.y),
                           static_cast<float>(entry.depth));
        AddChild(frame);
    }
    for (OBitmap* picture : pictures) {
        if (!IsLive(picture->Parent())) picture->Destroy();
    }
    return true;
}

// Picture by picture, in table order; a picture that does not match stays without, and is enlarged.
void OClip::AttachFine(const std::vector<OBitmap*>& pictures, FineArt& fine) {
    if (fine.file.pictures.size() != pictures.size()) {
        std::fprintf(stderr, "clip %s: %zu pictures where the game's clip has %zu\n", fine.name.c_str(),
                     fine.file.pictures.size(), pictures.size());
        return;
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        graphics::Picture& picture = fine.file.pictures[i];
        const uint32_t key = picture.colourKey;
        if (!pictures[i]->AttachFine(std::move(picture), key, fine.detail))
            std::fprintf(stderr, "clip %s: picture %zu is not %d times the size of the game's\n",
                         fine.name.c_str(), i, static_cast<int>(fine.detail));
    }
}

void OClip::AddChild(OGraph* child) {
    if (!IsLive(child)) return;
    OGraph::SetSize(std::max(Width(), child->LocalX() + child->Width()),
                    std::max(Height(), child->LocalY() + child->Height()),
                    std::max(DepthExtent(), child->LocalDepth() + child->DepthExtent()));
    child->SetVisible(children_.empty());
    children_.push_back(child);
    if (child->Kind() != GraphKind::Graph && child->FrameRate() > frameRate_) frameRate_ = child->FrameRate();
    child->SetParent(this);
    if (Window()) child->AttachToWindow(Window());
    frameCount_ = static_cast<int>(children_.size());
}

// The child leaves the list before it is told: its SetParent asks this clip to remove it again.
void OClip::RemoveChild(OGraph* child) {
    auto at = std::find(children_.begin(), children_.end(), child);
    if (at == children_.end()) return;
    children_.erase(at);
    frameCount_ = static_cast<int>(children_.size());
    if (IsLive(child) && !child->IsBeingDestroyed()) {
        child->SetVisible(false);
        child->SetParent(nullptr);
        child->AttachToWindow(nullptr);
    }
}

void OClip::Step(uint32_t timeMs) {
    if (children_.empty()) return;
    if (lastAdvanceTime_ == 0) lastAdvanceTime_ = timeMs;
    // Whole frames due since the last advance; 64 bits so no elapsed time and rate can overflow.
    const uint64_t elapsed = static_cast<uint32_t>(timeMs - lastAdvanceTime_);
    if (elapsed * static_cast<uint64_t>(std::max(frameRate_, 0)) / 1000 >= 1) {
        lastAdvanceTime_ = timeMs;
        if (shownIndex_ == currentIndex_ && hold_) return;
        if (OGraph* shown = ChildAt(shownIndex_)) shown->SetVisible(false);
        const int index = currentIndex_;
        if (OGraph* frame = ChildAt(index)) {
            frame->Step(timeMs);
            // A frame that is a clip of its own may have ended itself.
            if (IsLive(frame)) frame->SetVisible(true);
        }
        shownIndex_ = index;
        if (!Advance(index)) return;
    }
    OGraph::Step(timeMs);
}

void OClip::Draw(const ORect* rect) {
    if (shownIndex_ < 0 || currentIndex_ >= frameCount_) return;
    if (OGraph* shown = ChildAt(shownIndex_)) shown->Draw(rect);
}

void OClip::SetVisible(bool visible) {
    if (visible == IsVisible() || currentIndex_ >= frameCount_) {
        SetVisibleFlag(visible);
        return;
    }
    // Shown first, so the report passes this clip's own NotifyChange; hidden after it, likewise.
    if (visible) SetVisibleFlag(true);
    OGraph* frame = DisplayedFrame();
    if (frame && frame->IsVisible()) {
        bool handled = false;
        const ORect area = frame->Bounds();
        NotifyChange(frame, handled, visible ? kNotifyShown : kNotifyUncovered, &area);
    }
    SetVisibleFlag(visible);
}

void OClip::SetTransparency(uint32_t transparency) {
    OGraph::SetTransparency(transparency);
    for (size_t i = 0; i < children_.size(); ++i) {
        if (IsLive(children_[i])) children_[i]->SetTransparency(transparency);
    }
}

void OClip::NotifyChange(OGraph* drawable, bool& handled, uint8_t kind, const ORect* rect) {
    if (drawable == this || !IsVisible()) return;
    OGraph::NotifyChange(drawable, handled, kind, rect);
    handled = true;
}

void OClip::HoldAt(int index) {
    hold_ = true;
    if (index >= 0 && index < frameCount_) currentIndex_ = index;
}

void OClip::PlayFrom(int index) {
    hold_ = false;
    if (index >= 0 && index < frameCount_) currentIndex_ = index;
}

bool OClip::Advance(int index) {
    if (frameCount_ == 0 || hold_ || shownIndex_ < 0 || index < 0 || index >= frameCount_) return true;
    currentIndex_ = currentIndex_ + 1 >= frameCount_ ? 0 : currentIndex_ + 1;
    const OGraph* frame = ChildAt(index);
    if (!frame) return true;
    const std::vector<int> commands = frame->Commands();  // the frame may go with the clip
    for (size_t i = 0; i < commands.size(); ++i) {
        switch (commands[i]) {
            case kHold:
                HoldAt(index);
                break;
            case kDestroy: {
                const OGraph* self = this;
                Destroy();
                return IsLive(self);  // a kept clip survives its own end
            }
            case kPlayFrom:
                if (i + 1 < commands.size()) PlayFrom(commands[++i]);
                break;
            case kHoldAt:
                if (i + 1 < commands.size()) HoldAt(commands[++i]);
                break;
            default:
                break;
        }
    }
    return true;
}
