#include "ui/FramePiece.h"

#include "engine/OWindow.h"
#include "graphics/OClip.h"

bool AddFramePiece(OWindow& window, const std::string& clipFile, float x, float y, float depth, uint32_t key,
                   bool fromBottom) {
    auto* piece = new OClip();
    if (!piece->Load(clipFile)) {
        piece->Destroy();
        return false;
    }
    if (fromBottom) y = window.ClientHeight() - piece->Height();
    piece->SetColourKey(key);
    piece->SetPosition(x, y, depth);
    window.AddGraph(piece);
    return true;
}
