// The scene side of OWindow: its lists of drawables, the compositor and the blender's caller.
#include <algorithm>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "graphics/Blender.h"
#include "graphics/LiveSet.h"
#include "graphics/OGraph.h"
#include "graphics/OpaqueRuns.h"
#include "platform/Platform.h"
#include "platform/TimingTrace.h"

void OWindow::AddGraph(OGraph* graph) {
    std::lock_guard lock(mutex_);
    if (!IsLive(graph)) return;
    const GraphKind kind = graph->Kind();
    if (kind == GraphKind::Control) {
        controls_.push_back(graph);
        graph->SetOrderIndex(static_cast<int>(controls_.size()) + 10000);
    } else {
        graphics_.push_back(graph);
        graph->SetOrderIndex(static_cast<int>(graphics_.size()));
    }
    // The rate is raised, never lowered, so a clip never runs faster than its window steps.
    if (kind != GraphKind::Graph && graph->FrameRate() > frameRate_) frameRate_ = graph->FrameRate();
    graph->AttachToWindow(this);
}

void OWindow::RenumberFrom(std::vector<OGraph*>& list, size_t from) {
    for (size_t i = from; i < list.size(); ++i) {
        if (IsLive(list[i])) list[i]->SetOrderIndex(list[i]->OrderIndex() - 1);
    }
}

void OWindow::RemoveGraph(OGraph* graph) {
    std::lock_guard lock(mutex_);
    if (!IsStopping()) {
        if (graph && capture_ == graph) CaptureGraph(nullptr);
        if (graph && focus_ == graph) FocusGraph(nullptr);
        auto g = std::find(graphics_.begin(), graphics_.end(), graph);
        if (g != graphics_.end()) {
            size_t at = static_cast<size_t>(g - graphics_.begin());
            graphics_.erase(g);
            RenumberFrom(graphics_, at);
            if (IsLive(graph) && !graph->IsBeingDestroyed()) graph->AttachToWindow(nullptr);
        }
        auto c = std::find(controls_.begin(), controls_.end(), graph);
        if (c != controls_.end()) {
            size_t at = static_cast<size_t>(c - controls_.begin());
            controls_.erase(c);
            RenumberFrom(controls_, at);
        }
    }
    // Whatever happens to the object next, the scene must not ask it to draw again.
    compositor_.Forget(graph);
}

void OWindow::OnGraphChanged(OGraph* owner, OGraph* drawable, bool& handled, uint8_t kind,
                             const ORect* rect) {
    std::lock_guard lock(mutex_);
    if ((kind == kNotifyShown || kind == kNotifyUncovered) && drawable) {
        OGraphNotify record;
        record.owner = owner;
        record.orderIndex = IsLive(owner) ? owner->OrderIndex() : 0;
        record.drawable = drawable;
        record.rect = rect ? *rect : drawable->Bounds();
        record.depth = drawable->Depth();
        record.kind = kind;
        compositor_.Report(record);
    }
    handled = true;
}

void OWindow::AddDirtyRect(const ORect& rect) {
    std::lock_guard lock(mutex_);
    compositor_.AddDirtyRect(rect);
}

void OWindow::FillBackground(const ORect& rect) {
    std::lock_guard lock(mutex_);
    if (picture_) picture_->FillBackground(platform::Finer(rect, detail_));
}

void OWindow::Compose() {
    std::lock_guard lock(mutex_);
    if (IsStopping() || !picture_) return;
    if (!compositor_.Prepare()) return;
    const std::vector<OGraphNotify> scene = compositor_.SortedScene();
    for (const ORect& dirty : compositor_.Dirty()) {
        size_t first = compositor_.FirstToDraw(scene, dirty);
        if (first == scene.size()) {
            picture_->FillBackground(platform::Finer(dirty, detail_));
            first = 0;
        }
        for (size_t i = first; i < scene.size(); ++i) {
            const OGraphNotify& entry = scene[i];
            ORect area;
            if (IntersectRect(entry.rect, dirty, area) && IsLive(entry.drawable)) entry.drawable->Draw(&area);
        }
    }
    lastDrawn_ = compositor_.Dirty();
    compositor_.ClearDirty();
    if (platform::trace::Enabled()) platform::trace::Mark(OnMainThread() ? "compose main" : "compose game");
    // The main thread copies the rectangles to the screen (native windows are its own).
    if (!native_) return;
    const bool wasEmpty = presentPending_.empty();
    presentPending_.insert(presentPending_.end(), lastDrawn_.begin(), lastDrawn_.end());
    if (wasEmpty && !lastDrawn_.empty()) {
        engine::GetPlatform().Post(native_, {platform::NativeEventType::Present, 0, 0, 0});
    }
}

namespace {
// Clips a destination span [d, d + dl) to [0, dmax) and a source span [s, s + sl) to [0, smax),
// moving the other span along. 64-bit so that no argument can overflow.
bool ClipSpan(int64_t& d, int64_t& dl, int64_t dmax, int64_t& s, int64_t& sl, int64_t smax) {
    if (d + dl > dmax) {
        int64_t excess = d + dl - dmax;
        dl -= excess;
        sl -= excess;
    }
    if (d < 0) {
        dl += d;
        sl += d;
        s -= d;
        d = 0;
    }
    if (s + sl > smax) {
        int64_t excess = s + sl - smax;
        sl -= excess;
        dl -= excess;
    }
    if (s < 0) {
        sl += s;
        dl += s;
        d -= s;
        s = 0;
    }
    return dl > 0 && sl > 0 && d < dmax && s < smax;
}
}  // namespace

void OWindow::DrawBitmap(OGraph* graph, int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
    std::lock_guard lock(mutex_);
    if (!picture_ || !IsLive(graph)) return;
    const uint32_t t = graph->Transparency() & 0xFF;
    PixelSource px;
    if (detail_ > 1 && graph->GetFinePixels(detail_, px)) {
        // Art drawn at the picture's detail: every rectangle is the same one in its pixels.
        const int64_t d = detail_;
        BlendPixels(px, px.colourKey, t, {x * d, y * d, w * d, h * d}, {sx * d, sy * d, sw * d, sh * d}, 1);
        return;
    }
    if (!graph->GetPixels(px)) return;
    BlendPixels(px, graph->ColourKey(), t, {x, y, w, h}, {sx, sy, sw, sh}, detail_);
}

// Clipped in the source's pixels, then each source pixel drawn as `enlarge` x `enlarge` picture
// pixels (1: one to one).
void OWindow::BlendPixels(const PixelSource& px, uint32_t key, uint32_t t, const BlendSpan& to,
                          const BlendSpan& from, int32_t enlarge) {
    if (!px.bits || px.width <= 0 || px.height <= 0 || (px.bitsPerPixel != 24 && px.bitsPerPixel != 32)) return;
    if (px.stride < px.width * (px.bitsPerPixel / 8)) return;
    int64_t dx = to.x, dw = to.w, srcX = from.x, srcW = from.w, dy = to.y, dh = to.h, srcY = from.y,
            srcH = from.h;
    if (!ClipSpan(dx, dw, picture_->Width() / enlarge, srcX, srcW, px.width)) return;
    if (!ClipSpan(dy, dh, picture_->Height() / enlarge, srcY, srcH, px.height)) return;
    const int32_t cols = static_cast<int32_t>(std::min(dw, srcW));
    const int32_t rows = static_cast<int32_t>(std::min(dh, srcH));
    const int32_t srcRow =
        px.bottomUp ? px.height - 1 - static_cast<int32_t>(srcY) : static_cast<int32_t>(srcY);
    const uint8_t* src = px.bits + static_cast<ptrdiff_t>(srcRow) * px.stride;
    const ptrdiff_t srcStep = px.bottomUp ? -static_cast<ptrdiff_t>(px.stride) : px.stride;
    if (enlarge > 1) {
        BlendEnlarged(px, key, t, src, srcStep, static_cast<int32_t>(srcX), cols, rows,
                      static_cast<int32_t>(dx), static_cast<int32_t>(dy), enlarge);
        return;
    }

    BlendJob job;
    job.dst = picture_->Row(static_cast<int32_t>(dy)) + dx * OffscreenPicture::kBytesPerPixel;
    job.dstStep = -static_cast<ptrdiff_t>(picture_->Stride());
    job.src = src;
    job.srcStep = srcStep;
    job.srcX = static_cast<int32_t>(srcX);
    job.width = cols;
    job.rows = rows;
    job.srcBitsPerPixel = px.bitsPerPixel;
    job.key = key;
    job.transparency = t;
    if (px.runs && px.colourKey == key && px.runs->Rows() == px.height && px.runs->Width() == px.width) {
        job.runs = px.runs;
        job.runRow = srcRow;
        job.runStep = px.bottomUp ? -1 : 1;
    }
    blender::Blend(job);
}

// A picture without art at the window's detail: each of its rows is widened once, each pixel
// repeated, and blended into that many picture rows, so the key and the transparency work as on
// the logical picture.
void OWindow::BlendEnlarged(const PixelSource& px, uint32_t key, uint32_t t, const uint8_t* src,
                            ptrdiff_t srcStep, int32_t srcX, int32_t cols, int32_t rows, int32_t dx, int32_t dy,
                            int32_t enlarge) {
    const int bytes = px.bitsPerPixel / 8;
    const size_t wide = static_cast<size_t>(cols) * static_cast<size_t>(enlarge);
    enlargedRow_.resize(wide * 3 + 4);  // the blender may read a word from the last pixel
    BlendJob job;
    job.dstStep = -static_cast<ptrdiff_t>(picture_->Stride());
    job.src = enlargedRow_.data();
    job.srcStep = 0;
    job.width = static_cast<int32_t>(wide);
    job.rows = enlarge;
    job.srcBitsPerPixel = 24;
    job.key = key;
    job.transparency = t;
    for (int32_t r = 0; r < rows; ++r, src += srcStep) {
        const uint8_t* from = src + static_cast<ptrdiff_t>(srcX) * bytes;
        uint8_t* out = enlargedRow_.data();
        for (int32_t c = 0; c < cols; ++c, from += bytes) {
            for (int32_t k = 0; k < enlarge; ++k, out += 3) {
                out[0] = from[0];
                out[1] = from[1];
                out[2] = from[2];
            }
        }
        job.dst = picture_->Row((dy + r) * enlarge) + static_cast<ptrdiff_t>(dx) * enlarge * 3;
        blender::Blend(job);
    }
}
