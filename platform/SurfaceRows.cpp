#include "platform/SurfaceRows.h"

#include <cstddef>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MARSHWADE_SURFACE_SSSE3 1
#endif

namespace platform {

namespace {

using RowCopy = void (*)(const uint8_t* src, uint8_t* dst, int32_t pixels, uint8_t fourth);

void RowPlain(const uint8_t* src, uint8_t* dst, int32_t pixels, uint8_t fourth) {
    for (int32_t i = 0; i < pixels; ++i, src += 3, dst += 4) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = fourth;
    }
}

#if MARSHWADE_SURFACE_SSSE3
// Four pixels per step: 16 bytes are read of which 12 are used, so the loop stops while at least six
// pixels are left and never reads past the row; the plain loop does the rest.
__attribute__((target("ssse3"))) void RowSsse3(const uint8_t* src, uint8_t* dst, int32_t pixels,
                                               uint8_t fourth) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i fill = _mm_set1_epi32(static_cast<int>(static_cast<uint32_t>(fourth) << 24));
    int32_t i = 0;
    for (; i + 6 <= pixels; i += 4, src += 12, dst += 16) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_or_si128(_mm_shuffle_epi8(in, spread), fill));
    }
    RowPlain(src, dst, pixels - i, fourth);
}
#endif

RowCopy ChooseRowCopy() {
#if MARSHWADE_SURFACE_SSSE3
    if (__builtin_cpu_supports("ssse3")) return &RowSsse3;
#endif
    return &RowPlain;
}

}  // namespace

void CopyRectToBgrx(const PictureView& picture, const Rect& rect, uint8_t* dst, int32_t dstPitch,
                    uint8_t fourth) {
    static const RowCopy copyRow = ChooseRowCopy();
    const int32_t w = rect.right - rect.left;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const uint8_t* from = picture.bits + static_cast<size_t>(picture.height - 1 - y) * picture.stride +
                              static_cast<size_t>(rect.left) * 3;
        uint8_t* to = dst + static_cast<ptrdiff_t>(y) * dstPitch + static_cast<ptrdiff_t>(rect.left) * 4;
        copyRow(from, to, w, fourth);
    }
}

}  // namespace platform
