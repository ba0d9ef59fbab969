// The fold on x86-64: PCLMULQDQ, four 128-bit lanes, sixty-four bytes a step
// (the algebra is in crcfold.h). The compiler's own CPU check works with GCC
// and clang on every system: glibc or musl, Windows, macOS, the BSDs.
#include <immintrin.h>

#include "crcfold.h"
#include "libobj.h"

__attribute__((target("pclmul,sse2"))) static inline __m128i
fold(__m128i r, foldpair k, __m128i next)
{
	__m128i m = _mm_set_epi64x(static_cast<long long>(k.last), static_cast<long long>(k.first));
	return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(r, m, 0x00), _mm_clmulepi64_si128(r, m, 0x11)),
	                     next);
}

__attribute__((target("pclmul,sse2"))) static inline __m128i
load(const unsigned char *p)
{
	return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

__attribute__((target("pclmul,sse2"))) unsigned
crcfold(unsigned crc, const unsigned char *p, size_t n)
{
	if (n < 64)
		return crcsliced(crc, p, n);
	// four lanes, sixty-four bytes apart; the CRC so far joins the first two bytes
	__m128i x0 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(crc))), x1 = load(p + 16),
		x2 = load(p + 32), x3 = load(p + 48);
	for (p += 64, n -= 64; n >= 64; p += 64, n -= 64) {
		x0 = fold(x0, by512, load(p));
		x1 = fold(x1, by512, load(p + 16));
		x2 = fold(x2, by512, load(p + 32));
		x3 = fold(x3, by512, load(p + 48));
	}
	// into one lane where x3 lies, then its sixteen bytes as a message of their own
	__m128i zero = _mm_setzero_si128();
	__m128i x = _mm_xor_si128(_mm_xor_si128(fold(x0, by384, zero), fold(x1, by256, zero)), fold(x2, by128, x3));
	alignas(16) unsigned char lane[16];
	_mm_store_si128(reinterpret_cast<__m128i *>(lane), x);
	return crcsliced(crcsliced(0, lane, 16), p, n);
}

bool
havefold()
{
	static int have = -1; // asked once: the answer never changes
	if (have < 0)
		have = __builtin_cpu_supports("pclmul") ? 1 : 0;
	return have != 0;
}
