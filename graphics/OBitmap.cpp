#include "graphics/OBitmap.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <istream>

#include "graphics/ArtDetail.h"
#include "graphics/GraphHost.h"
#include "graphics/OGraphNotify.h"
#include "graphics/BmpReader.h"
#include "graphics/EffectsLibrary.h"
#include "graphics/LiveSet.h"
#include "graphics/PictureMask.h"
#include "graphics/PictureRecord.h"
#include "platform/ProgramPath.h"

namespace {

std::atomic<int> gLivePixelBuffers{0};

int32_t Trunc(float v) {
    return static_cast<int32_t>(v);
}

// A picture the blender and the mask builder can walk without leaving its buffer.
bool Consistent(const graphics::Picture& p) {
    if (!graphics::SidesWithinLimit(p.width, p.height)) return false;
    const uint64_t rowBytes = (uint64_t{p.bitsPerPixel} * static_cast<uint32_t>(p.width) + 7) / 8;
    return p.stride >= rowBytes && p.ImageSize() <= graphics::kMaxPictureBytes &&
           p.bits.size() >= p.ImageSize() + graphics::Picture::kSpareBytes;
}

const std::vector<uint8_t> kNoMask;

}  // namespace

OBitmap::Pixels::Pixels() {
    gLivePixelBuffers.fetch_add(1);
}

OBitmap::Pixels::~Pixels() {
    graphics::EffectsLibrary::ReleaseHeader(effects);
    gLivePixelBuffers.fetch_sub(1);
}

int OBitmap::LivePixelBuffers() {
    return gLivePixelBuffers.load();
}

void OBitmap::Report(uint8_t kind) {
    bool handled = false;
    NotifyChange(this, handled, kind, nullptr);
}

void OBitmap::Reset() {
    if (CopyCount() > 0) return;
    const bool wasVisible = IsVisible();
    SetVisible(false);
    OGraph::SetSize(0, 0, DepthExtent());
    SetNaturalSize(0, 0);
    SetPictureReady(0);
    if (auto* t = dynamic_cast<OBitmap*>(Template()); t && IsLive(t)) {
        // The template's count goes down here, and the template is forgotten, so Destroy does not
        // count this copy a second time.
        SetTemplate(nullptr);
        t->AdjustCopyCount(-1);
        t->Destroy();
    }
    owned_.reset();
    pixels_ = nullptr;
    if (wasVisible) SetVisible(true);
}

bool OBitmap::CopyFrom(OGraph* source) {
    if (!OGraph::CopyFrom(source)) return false;
    auto* t = dynamic_cast<OBitmap*>(Template());
    if (!t) return true;
    pixels_ = t->pixels_;
    SetNaturalSize(t->NaturalWidth(), t->NaturalHeight());
    return true;
}

OGraph* OBitmap::Clone() {
    auto* copy = new OBitmap();
    copy->CopyFrom(this);
    return copy;
}

void OBitmap::RestoreState() {
    const bool wasVisible = IsVisible();
    SetVisible(false);
    OGraph::RestoreState();
    if (wasVisible) SetVisible(true);
}

bool OBitmap::ChangesBounds(float dx, float dy, float ddepth) const {
    return Trunc(X() + dx) != Trunc(X()) || Trunc(Y() + dy) != Trunc(Y()) ||
           Trunc(Depth() + ddepth) != Trunc(Depth());
}

void OBitmap::SetPosition(float x, float y, float depth) {
    if (IsVisible() && ChangesBounds(x - LocalX(), y - LocalY(), depth - LocalDepth())) {
        SetVisible(false);
        OGraph::SetPosition(x, y, depth);
        SetVisible(true);
    } else {
        OGraph::SetPosition(x, y, depth);
    }
}

void OBitmap::SetSize(float width, float height, float depthExtent) {
    const bool wasVisible = IsVisible();
    SetVisible(false);
    OGraph::SetSize(width, height, depthExtent);
    SetVisible(wasVisible);
}

void OBitmap::Offset(float dx, float dy, float ddepth) {
    SaveState();
    if (IsVisible() && ChangesBounds(dx, dy, ddepth)) {
        SetVisible(false);
        OGraph::Offset(dx, dy, ddepth);
        SetVisible(true);
    } else {
        OGraph::Offset(dx, dy, ddepth);
    }
}

void OBitmap::SetVisible(bool visible) {
    if (visible == IsVisible()) return;
    SetVisibleFlag(visible);
    Report(visible ? kNotifyShown : kNotifyUncovered);
}

void OBitmap::SetTransparency(uint32_t transparency) {
    SetTransparencyValue(transparency);
    if (IsVisible()) Report(kNotifyShown);
}

void OBitmap::TakePicture(graphics::Picture&& picture) {
    owned_ = std::make_unique<Pixels>();
    pixels_ = owned_.get();
    pixels_->picture = std::move(picture);
    const auto w = static_cast<float>(pixels_->picture.width);
    const auto h = static_cast<float>(pixels_->picture.Rows());
    OGraph::SetSize(w, h, DepthExtent());
    SetNaturalSize(w, h);
}

void OBitmap::CreateEffectsHeader() {
    if (!Owns() || !graphics::EffectsLibrary::IsLoaded()) return;
    graphics::EffectsLibrary::ReleaseHeader(pixels_->effects);
    const graphics::Picture& p = pixels_->picture;
    pixels_->effects = graphics::EffectsLibrary::CreateBitmapHeader(
        {p.width, p.height, static_cast<int>(p.bitsPerPixel)}, pixels_->picture.bits.data(), ColourKey());
}

bool OBitmap::LoadFromPicture(graphics::Picture&& picture) {
    if (CopyCount() > 0) return false;
    Reset();
    if (!Consistent(picture)) return false;
    const uint32_t key = picture.colourKey;
    TakePicture(std::move(picture));
    SetColourKey(key);
    BuildMask(key);
    CreateEffectsHeader();
    return true;
}

bool OBitmap::LoadFromStream(std::span<const uint8_t> record) {
    if (CopyCount() > 0) return false;
    Reset();
    graphics::Picture picture;
    std::string reason;
    if (!graphics::ParsePictureRecord(record, picture, reason)) {
        std::fprintf(stderr, "picture record: %s\n", reason.c_str());
        return false;
    }
    return LoadFromPicture(std::move(picture));
}

bool OBitmap::LoadFromStream(std::istream& stream, uint32_t byteCount) {
    if (CopyCount() > 0) return false;
    Reset();
    if (byteCount <= graphics::kPictureRecordHeaderSize ||
        byteCount > graphics::kMaxPictureBytes + graphics::kPictureRecordHeaderSize)
        return false;
    // Read in slices, so a count that the stream does not back never becomes one large allocation.
    constexpr size_t kSlice = 64 * 1024;
    std::vector<uint8_t> bytes;
    while (bytes.size() < byteCount) {
        const size_t at = bytes.size();
        const size_t n = std::min<size_t>(kSlice, byteCount - at);
        bytes.resize(at + n);
        stream.read(reinterpret_cast<char*>(bytes.data() + at), static_cast<std::streamsize>(n));
        if (static_cast<size_t>(stream.gcount()) != n) return false;
    }
    return LoadFromStream(std::span<const uint8_t>(bytes));
}

bool OBitmap::Load(const std::string& fileName) {
    if (CopyCount() > 0) return false;
    Reset();
    if (fileName.size() < 2) return false;
    graphics::Picture picture;
    std::string reason;
    if (!graphics::ReadBmpFile(platform::ResolveDataPath(fileName), picture, reason)) {
        std::fprintf(stderr, "bitmap %s: %s\n", fileName.c_str(), reason.c_str());
        return false;
    }
    if (!Consistent(picture)) return false;
    TakePicture(std::move(picture));
    KeyFromFirstPixel();
    CreateEffectsHeader();
    LoadFineArt(fileName);
    return true;
}

// The same picture drawn for the chosen detail, keyed as the game keys its own (by its first pixel).
// Its absence is no fault: the picture is enlarged instead.
void OBitmap::LoadFineArt(const std::string& fileName) {
    const int32_t detail = graphics::ArtDetail();
    const std::string fineName = graphics::FineArtName(fileName, detail);
    if (fineName.empty() || !pixels_ || !pixels_->hasMask) return;
    const std::string path = graphics::InstalledFineArt(fineName);
    if (path.empty()) return;
    graphics::Picture fine;
    std::string reason;
    if (!graphics::ReadBmpFile(path, fine, reason)) {
        std::fprintf(stderr, "bitmap %s: %s\n", fineName.c_str(), reason.c_str());
        return;
    }
    const std::optional<uint32_t> key = graphics::KeyFromFirstPixel(fine);
    if (!key || !AttachFine(std::move(fine), *key, detail))
        std::fprintf(stderr, "bitmap %s: not %d times the size of the game's\n", fineName.c_str(),
                     static_cast<int>(detail));
}

bool OBitmap::CreateBlank(float width, float height) {
    if (CopyCount() > 0) return false;
    Reset();
    if (!(width >= 0.0f) || !(height >= 0.0f) || width >= 65536.0f || height >= 65536.0f) return false;
    graphics::Picture picture;
    picture.width = Trunc(width);
    picture.height = Trunc(height);
    picture.bitsPerPixel = 24;
    picture.stride = static_cast<uint32_t>(graphics::RowStride(static_cast<uint32_t>(picture.width), 24));
    if (picture.ImageSize() > graphics::kMaxPictureBytes) return false;
    picture.bits.assign(picture.ImageSize() + graphics::Picture::kSpareBytes, 0);
    TakePicture(std::move(picture));
    SetColourKey(0);
    return true;
}

void OBitmap::KeyFromFirstPixel() {
    if (CopyCount() > 0 || !pixels_) return;
    const auto key = graphics::KeyFromFirstPixel(pixels_->picture);
    if (!key) return;
    SetColourKey(*key);
    BuildMask(*key);
}

void OBitmap::BuildMask(uint32_t key) {
    if (CopyCount() > 0 || !Owns()) return;
    Pixels& px = *pixels_;
    const graphics::Picture& p = px.picture;
    // The mask itself is made when first asked for (Mask): it is as big as the picture, and only the
    // optional image library's users read it. The blender draws from the runs.
    std::vector<uint8_t>().swap(px.mask);
    px.runs.Clear();
    if (p.bitsPerPixel == 24) {
        px.runs.Build(p.bits.data(), p.width, p.Rows(), static_cast<int32_t>(p.stride), 24, key);
    }
    px.maskKey = key;
    px.hasMask = true;
    SetPictureReady(1);
}

void OBitmap::Draw(const ORect* rect) {
    GraphHost* window = Window();
    if (!IsVisible() || !window || !pixels_) return;
    const ORect bounds = Bounds();
    if (!rect) {
        const int w = Trunc(Width()), h = Trunc(Height());
        window->DrawBitmap(this, bounds.left, bounds.top, w, h, 0, 0, w, h);
        return;
    }
    ORect area;
    if (!IntersectRect(*rect, bounds, area)) return;
    const int w = area.right - area.left, h = area.bottom - area.top;
    const int sx = Trunc(static_cast<float>(area.left) - X());
    const int sy = Trunc(static_cast<float>(area.top) - Y());
    window->DrawBitmap(this, area.left, area.top, w, h, sx, sy, w, h);
}

bool OBitmap::IsOpaqueOver(const ORect& area, int32_t detail) const {
    if (!IsVisible() || !Window() || !pixels_ || (Transparency() & 0xFF) != 0 || area.IsEmpty()) return false;
    const ORect bounds = Bounds();
    if (area.left < bounds.left || area.top < bounds.top || area.right > bounds.right ||
        area.bottom > bounds.bottom)
        return false;
    PixelSource px;
    if (detail > 1 && GetFinePixels(detail, px)) return SourceCovers(px, area, detail);
    if (!GetPixels(px)) return false;
    if (px.colourKey != ColourKey()) {  // keyed anew: the runs are for the old key
        px.colourKey = ColourKey();
        px.runs = nullptr;
    }
    return SourceCovers(px, area, 1);
}

bool OBitmap::SourceCovers(const PixelSource& px, const ORect& area, int32_t detail) const {
    if (!px.bits || (px.bitsPerPixel != 24 && px.bitsPerPixel != 32)) return false;
    if (px.stride < px.width * (px.bitsPerPixel / 8)) return false;  // DrawBitmap would draw nothing
    // The source columns and rows Draw takes for this area; any of them outside the picture would
    // leave destination pixels undrawn.
    const int32_t sx = Trunc(static_cast<float>(area.left) - X()) * detail;
    const int32_t sy = Trunc(static_cast<float>(area.top) - Y()) * detail;
    const int32_t w = (area.right - area.left) * detail, h = (area.bottom - area.top) * detail;
    if (sx < 0 || sy < 0 || sx + w > px.width || sy + h > px.height) return false;
    if (px.colourKey > 0xFFFFFF) return true;  // no pixel can equal it
    const OpaqueRuns* runs = px.runs;
    if (!runs || px.bitsPerPixel != 24 || runs->Rows() != px.height || runs->Width() != px.width) return false;
    if (runs->AllOpaque()) return true;
    for (int32_t r = sy; r < sy + h; ++r) {
        if (!runs->Covers(px.bottomUp ? px.height - 1 - r : r, sx, sx + w)) return false;
    }
    return true;
}

namespace {
PixelSource SourceOf(const graphics::Picture& p, uint32_t key, const OpaqueRuns* runs) {
    PixelSource out;
    out.bits = p.bits.data();
    out.width = p.width;
    out.height = p.Rows();
    out.stride = static_cast<int32_t>(p.stride);
    out.bottomUp = p.BottomUp();
    out.bitsPerPixel = static_cast<int>(p.bitsPerPixel);
    out.colourKey = key;
    out.runs = p.bitsPerPixel == 24 ? runs : nullptr;
    return out;
}
}  // namespace

bool OBitmap::GetPixels(PixelSource& out) const {
    if (!pixels_) return false;
    out = SourceOf(pixels_->picture, pixels_->maskKey, pixels_->hasMask ? &pixels_->runs : nullptr);
    return true;
}

bool OBitmap::GetFinePixels(int32_t detail, PixelSource& out) const {
    if (!pixels_ || !pixels_->fine || pixels_->fine->detail != detail) return false;
    if (!pixels_->hasMask || ColourKey() != pixels_->maskKey) return false;
    const Pixels::Fine& fine = *pixels_->fine;
    out = SourceOf(fine.picture, fine.key, &fine.runs);
    return true;
}

bool OBitmap::AttachFine(graphics::Picture&& picture, uint32_t key, int32_t detail) {
    if (CopyCount() > 0 || !Owns() || detail < 2 || detail > 8) return false;
    const graphics::Picture& logical = pixels_->picture;
    if (!Consistent(picture) || (picture.bitsPerPixel != 24 && picture.bitsPerPixel != 32)) return false;
    if (int64_t{picture.width} != int64_t{logical.width} * detail ||
        int64_t{picture.Rows()} != int64_t{logical.Rows()} * detail)
        return false;
    auto fine = std::make_unique<Pixels::Fine>();
    fine->picture = std::move(picture);
    fine->key = key;
    fine->detail = detail;
    const graphics::Picture& p = fine->picture;
    if (p.bitsPerPixel == 24)
        fine->runs.Build(p.bits.data(), p.width, p.Rows(), static_cast<int32_t>(p.stride), 24, key);
    pixels_->fine = std::move(fine);
    return true;
}

const graphics::Picture* OBitmap::GetPicture() const {
    return pixels_ ? &pixels_->picture : nullptr;
}

const std::vector<uint8_t>& OBitmap::Mask() const {
    if (!pixels_) return kNoMask;
    Pixels& px = *pixels_;
    if (px.hasMask && px.mask.empty()) px.mask = graphics::BuildTransparencyMask(px.picture, px.maskKey);
    return px.mask;
}

graphics::EffectsImage* OBitmap::EffectsHeader() const {
    return pixels_ ? pixels_->effects : nullptr;
}

int32_t OBitmap::Stride() const {
    return pixels_ ? static_cast<int32_t>(pixels_->picture.stride) : 0;
}
