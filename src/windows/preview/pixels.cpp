#include "windows/preview/pixels.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zeilwerk::pixels {

void maskKey(QRgb* __restrict to, const QRgb* __restrict from, int count, QRgb key) {
    key &= 0xFFFFFF;
    for (int x = 0; x < count; ++x)
        to[x] = (from[x] & 0xFFFFFF) == key ? 0 : (from[x] | 0xFF000000);
}

void orInto(QRgb* __restrict to, const QRgb* __restrict from, int count) {
    for (int x = 0; x < count; ++x)
        to[x] |= from[x];
}

void putOpaque(QRgb* __restrict to, const QRgb* __restrict from, int count) {
    for (int x = 0; x < count; ++x)
        to[x] = (from[x] & 0xFF000000) ? from[x] : to[x];
}

void doubleRow(QRgb* __restrict to, const QRgb* __restrict box, const QRgb* __restrict result, int resultCount,
               QRgb key) {
    key &= 0xFFFFFF;
    int x = 0;
#ifdef __SSE2__
    // Four result pixels at a time, each spread to two target pixels.
    const __m128i rgb = _mm_set1_epi32(0xFFFFFF);
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000));
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= resultCount; x += 4) {
        const __m128i pixel = _mm_loadu_si128(reinterpret_cast<const __m128i*>(result + x));
        const __m128i hidden = _mm_cmpeq_epi32(_mm_and_si128(pixel, rgb), keys);
        for (int half = 0; half < 2; ++half) {
            QRgb* out = to + 2 * x + 4 * half;
            const __m128i shown = half ? _mm_unpackhi_epi32(pixel, pixel) : _mm_unpacklo_epi32(pixel, pixel);
            const __m128i keep = half ? _mm_unpackhi_epi32(hidden, hidden) : _mm_unpacklo_epi32(hidden, hidden);
            __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out));
            if (box) {
                const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(box + 2 * x + 4 * half));
                const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(under, alpha), zero);
                below = _mm_or_si128(_mm_and_si128(clear, below), _mm_andnot_si128(clear, under));
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                             _mm_or_si128(_mm_and_si128(keep, below), _mm_andnot_si128(keep, shown)));
        }
    }
#endif
    for (; x < resultCount; ++x) {
        const QRgb pixel = result[x];
        for (int i = 2 * x; i < 2 * x + 2; ++i) {
            const QRgb below = box && (box[i] & 0xFF000000) ? box[i] : to[i];
            to[i] = (pixel & 0xFFFFFF) != key ? pixel : below;
        }
    }
}

QRgb orAlpha(QRgb* columns, const QRgb* row, int count) {
    QRgb any = 0;
    for (int x = 0; x < count; ++x) {
        const QRgb alpha = row[x] & 0xFF000000;
        columns[x] |= alpha;
        any |= alpha;
    }
    return any;
}

}  // namespace zeilwerk::pixels
