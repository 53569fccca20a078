#include "graphics/Compositor.h"

#include <algorithm>
#include <unordered_set>

#include "graphics/LiveSet.h"
#include "graphics/OGraph.h"

void Compositor::Report(const OGraphNotify& record) {
    if (record.kind != kNotifyShown && record.kind != kNotifyUncovered) return;
    if (record.rect.IsEmpty()) return;
    pending_.push_back(record);
}

namespace {
bool SameReport(const OGraphNotify& a, const OGraphNotify& b) {
    return a.drawable == b.drawable && a.rect == b.rect && a.kind == b.kind;
}
}  // namespace

std::vector<OGraphNotify> Compositor::Reduce(const std::vector<OGraphNotify>& pending) const {
    std::vector<OGraphNotify> kept;
    std::unordered_set<const OGraph*> handled;
    for (size_t i = 0; i < pending.size(); ++i) {
        const OGraphNotify& first = pending[i];
        if (!handled.insert(first.drawable).second) continue;
        size_t lastIndex = i;
        for (size_t j = pending.size(); j-- > i + 1;) {
            if (pending[j].drawable == first.drawable) {
                lastIndex = j;
                break;
            }
        }
        const OGraphNotify& last = pending[lastIndex];
        auto onScreen = scene_.find(first.drawable);
        if (onScreen != scene_.end()) {
            // Its picture is on screen where the scene says, whatever the reports of this frame were
            // (a fade then a move, a fade then a hide): take that away, then show it where it ends.
            OGraphNotify uncovered = *onScreen;
            uncovered.kind = kNotifyUncovered;
            kept.push_back(uncovered);
            if (last.kind == kNotifyShown) kept.push_back(last);
        } else if (SameReport(first, last)) {
            kept.push_back(first);
        } else if (first.kind == kNotifyUncovered && last.kind == kNotifyShown) {
            kept.push_back(first);
            kept.push_back(last);
        } else if (first.kind == kNotifyUncovered) {
            kept.push_back(first);
        } else if (last.kind == kNotifyShown) {
            kept.push_back(last);
        }
        // Not on screen, shown and uncovered again within the frame: nothing to draw.
    }
    return kept;
}

bool Compositor::Prepare() {
    std::vector<OGraphNotify> kept = Reduce(pending_);
    pending_.clear();
    if (kept.empty() && dirty_.Empty()) return false;
    for (const OGraphNotify& record : kept) {
        if (record.kind == kNotifyUncovered) {
            auto it = scene_.find(record.drawable);
            if (it != scene_.end()) scene_.erase(it);
        } else {
            scene_.insert(record);  // a drawable already on screen was taken out just before
        }
        dirty_.Add(record.rect);
    }
    return true;
}

std::vector<OGraphNotify> Compositor::SortedScene() const {
    std::vector<OGraphNotify> list(scene_.begin(), scene_.end());
    std::stable_sort(list.begin(), list.end(), [](const OGraphNotify& a, const OGraphNotify& b) {
        if (a.depth != b.depth) return a.depth > b.depth;
        return a.orderIndex < b.orderIndex;
    });
    return list;
}

size_t Compositor::FirstToDraw(const std::vector<OGraphNotify>& sorted, const ORect& dirty) const {
    if (!skipHidden_) return sorted.size();
    for (size_t i = sorted.size(); i-- > 0;) {
        const OGraphNotify& e = sorted[i];
        const bool holds = e.rect.left <= dirty.left && e.rect.top <= dirty.top &&
                           dirty.right <= e.rect.right && dirty.bottom <= e.rect.bottom;
        if (holds && IsLive(e.drawable) && e.drawable->IsOpaqueOver(dirty, detail_)) return i;
    }
    return sorted.size();
}

void Compositor::Forget(const OGraph* drawable) {
    bool first = true;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->drawable != drawable) {
            ++it;
            continue;
        }
        if (first) dirty_.Add(it->rect);
        first = false;
        it = pending_.erase(it);
    }
    auto entry = scene_.find(drawable);
    if (entry != scene_.end()) {
        dirty_.Add(entry->rect);
        scene_.erase(entry);
    }
}

bool Compositor::InScene(const OGraph* drawable) const {
    return scene_.find(drawable) != scene_.end();
}
