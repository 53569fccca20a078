#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "graphics/OGraph.h"
#include "graphics/OpaqueRuns.h"
#include "graphics/Picture.h"

namespace graphics {
struct EffectsImage;
}

// The drawable that owns pixels: one picture from a clip file's picture record, from a BMP
// file, or made blank. It draws itself with the window's blender, one colour key making single pixels
// transparent and one transparency value for the whole picture.
//
// Pixel sharing: a Clone points at its template's pixels, mask and effects header without copying
// them. Only an object without a live template owns and frees them; while copies exist the template
// refuses to load or make new pixels (and its Reset does nothing), so shared pixels never change or
// vanish under their users. Ownership and threads as for every OGraph: released with Destroy, used
// under its window's lock.
class OBitmap : public OGraph {
  public:
    OBitmap() = default;

    void Reset() override;
    OGraph* Clone() override;
    void RestoreState() override;
    void SetPosition(float x, float y, float depth) override;
    void SetSize(float width, float height, float depthExtent) override;
    void Offset(float dx, float dy, float ddepth) override;
    // A Windows bitmap file, by the game's name for it ("CLP\\all.bmp" is found beside the program).
    // The colour key is taken from the first pixel in memory.
    bool Load(const std::string& fileName) override;
    // One picture record read from the stream: `byteCount` bytes, of which the first 16 are the
    // picture header. Never allocates more than the stream actually holds.
    bool LoadFromStream(std::istream& stream, uint32_t byteCount) override;
    void Draw(const ORect* rect) override;
    void SetVisible(bool visible) override;
    void SetTransparency(uint32_t transparency) override;
    bool GetPixels(PixelSource& out) const override;
    // The fine picture, when one of this detail is attached and the bitmap is still keyed as its
    // file said (a key the game chose later was chosen for the logical picture only).
    bool GetFinePixels(int32_t detail, PixelSource& out) const override;
    // Draw copies the picture one to one, so it hides what lies below wherever it is drawn opaque
    // (transparency 0 in its low 8 bits, as the blender reads it) and has no key pixel. At a detail
    // the fine picture's own key pixels count, since those are the ones drawn. A class whose Draw
    // does something else must answer for itself.
    bool IsOpaqueOver(const ORect& area, int32_t detail) const override;

    // One picture record held in memory (exactly the entry's bytes).
    bool LoadFromStream(std::span<const uint8_t> record);
    // Takes over a picture a loader has already parsed and checked (the clip loader's path): its
    // colour key is kept and the mask built for it. False, and nothing changed, with live copies.
    bool LoadFromPicture(graphics::Picture&& picture);
    // Adds the same picture drawn `detail` times finer (2 to 8), for windows composed at that detail:
    // exactly detail times the logical picture each way, 24 or 32 bits, `key` its colour key. Shared
    // with the copies like the logical pixels. False, and nothing changed, when it does not match,
    // without logical pixels or with live copies.
    bool AttachFine(graphics::Picture&& picture, uint32_t key, int32_t detail);
    // Makes this object a copy of `source` sharing its pixels (OGraph::CopyFrom plus the pixels).
    bool CopyFrom(OGraph* source);

    // A 24-bit picture of width x height (truncated) pixels, all 0, colour key 0, rows bottom-up.
    bool CreateBlank(float width, float height);
    // The colour key becomes the first pixel in memory (bottom-left for bottom-up rows), masked to
    // the depth; then the mask is rebuilt. Nothing with live copies or without pixels.
    void KeyFromFirstPixel();
    // Builds the transparency mask (and the blender's opaque runs) for `key`, and marks the picture
    // ready. Nothing with live copies, and nothing on a copy (the mask belongs to the template).
    void BuildMask(uint32_t key);

    bool HasPixels() const { return pixels_ != nullptr; }
    // The picture as loaded (shared with the template for a copy); none without pixels. Valid until
    // the owner's next Reset.
    const graphics::Picture* GetPicture() const;
    // The transparency mask: every key pixel all ones, everything else 0. Empty without pixels. Built
    // on the first call after BuildMask (the game never needs it, and it is as big as the picture);
    // under the window lock like everything else of a drawable.
    const std::vector<uint8_t>& Mask() const;
    // The image-effects header (null unless the optional library is present).
    graphics::EffectsImage* EffectsHeader() const;
    int32_t Stride() const;

    // Pixel buffers in existence, process-wide: tests check that shared pixels are freed exactly once.
    static int LivePixelBuffers();

  protected:
    ~OBitmap() override = default;

    // The pixels with everything derived from them. Owned by exactly one bitmap (the template).
    struct Pixels {
        Pixels();
        ~Pixels();
        Pixels(const Pixels&) = delete;
        Pixels& operator=(const Pixels&) = delete;

        graphics::Picture picture;
        std::vector<uint8_t> mask;  // for maskKey once asked for; empty until then
        OpaqueRuns runs;            // built for maskKey, for 24-bit pictures only
        uint32_t maskKey = 0;
        bool hasMask = false;
        graphics::EffectsImage* effects = nullptr;
        // The picture drawn finer, when the art for a large screen has one.
        struct Fine {
            graphics::Picture picture;
            OpaqueRuns runs;  // for key, 24-bit pictures only
            uint32_t key = 0;
            int32_t detail = 0;
        };
        std::unique_ptr<Fine> fine;
    };

  private:
    bool ChangesBounds(float dx, float dy, float ddepth) const;
    // Whether the source pixels Draw takes for `area` (scaled by `detail`) hold no key pixel.
    bool SourceCovers(const PixelSource& px, const ORect& area, int32_t detail) const;
    void Report(uint8_t kind);
    bool Owns() const { return owned_ != nullptr && pixels_ == owned_.get(); }
    void TakePicture(graphics::Picture&& picture);
    void LoadFineArt(const std::string& fileName);
    void CreateEffectsHeader();

    std::unique_ptr<Pixels> owned_;  // set on the object that owns the pixels
    Pixels* pixels_ = nullptr;       // own or the template's; none without a picture
};
