#include "annotations/MultiplyBlend.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace markvane {
namespace {

// Multiply on premultiplied channels, s·d + s·(1 − da) + d·(1 − sa), written
// as s·(255 − da) + d·(255 − sa + s): with s ≤ sa and d ≤ da every term and
// the sum stay within 16 bits, and the alpha channel comes out as
// sa + da − sa·da. Divided by 255 with rounding.
inline quint32 multiplyPixel(quint32 s, quint32 d) {
    const quint32 sa = s >> 24;
    const quint32 da = d >> 24;
    quint32 result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const quint32 sc = (s >> shift) & 0xff;
        const quint32 dc = (d >> shift) & 0xff;
        const quint32 x = sc * (255 - da) + dc * (255 - sa + sc);
        result |= ((x + (x >> 8) + 0x80) >> 8) << shift;
    }
    return result;
}

#ifdef __SSE2__
// The same for the two pixels in the low 64 bits of s and d.
inline __m128i multiplyTwo(__m128i s, __m128i d) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i s16 = _mm_unpacklo_epi8(s, zero);
    const __m128i d16 = _mm_unpacklo_epi8(d, zero);
    const auto alphas = [](__m128i v) {
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, _MM_SHUFFLE(3, 3, 3, 3)),
                                   _MM_SHUFFLE(3, 3, 3, 3));
    };
    const __m128i x =
        _mm_add_epi16(_mm_mullo_epi16(s16, _mm_sub_epi16(full, alphas(d16))),
                      _mm_mullo_epi16(d16, _mm_add_epi16(_mm_sub_epi16(full, alphas(s16)), s16)));
    const __m128i rounded =
        _mm_add_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), _mm_set1_epi16(0x80));
    return _mm_srli_epi16(rounded, 8);
}
#endif

void multiplyRow(quint32* out, const quint32* in, int count) {
    int x = 0;
#ifdef __SSE2__
    for (; x + 4 <= count; x += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, _mm_setzero_si128())) == 0xffff)
            continue; // nothing to multiply with
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + x));
        const __m128i low = multiplyTwo(s, d);
        const __m128i high = multiplyTwo(_mm_srli_si128(s, 8), _mm_srli_si128(d, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(low, high));
    }
#endif
    for (; x < count; ++x) {
        if (in[x] != 0)
            out[x] = multiplyPixel(in[x], out[x]);
    }
}

} // namespace

void multiplyOnto(QImage& target, QPoint at, const QImage& source, const QRect& sourceRect,
                  const QRect& clip) {
    const QRect area = QRect(at, sourceRect.size()) & clip & target.rect();
    if (area.isEmpty())
        return;
    const QPoint shift = sourceRect.topLeft() - at;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* out = reinterpret_cast<quint32*>(target.scanLine(y)) + area.left();
        const auto* in = reinterpret_cast<const quint32*>(source.constScanLine(y + shift.y())) +
                         area.left() + shift.x();
        multiplyRow(out, in, area.width());
    }
}

} // namespace markvane
