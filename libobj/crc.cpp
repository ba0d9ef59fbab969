// The object's CRC over whole bytes: a byte taken low half first moves the CRC
// as two nibble steps do, so a table of those, sliced sixteen bytes at a time,
// gives the same value at a fraction of the cost; on x86-64 CPUs that can
// multiply without carries, long runs are folded sixty-four bytes at a time.
#include <array>
#include <cstdint>

#include "libobj.h"

// glibc tells what the CPU can do from data it gathered anyway: no cost at start-up
#if defined(__x86_64__) && defined(__GNUC__) && __has_include(<sys/platform/x86.h>)
#define CRCFOLD 1
#include <immintrin.h>
// the header is written in C, whose _Bool C++ calls bool
#define _Bool bool // NOLINT(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
#include <sys/platform/x86.h>
#undef _Bool
#endif

using crctables = std::array<std::array<std::uint16_t, 256>, 16>;

// slice k advances a byte through k further zero bytes
static constexpr crctables
maketables()
{
	crctables t{};

	for (unsigned i = 0; i < 256; i++)
		t[0][i] = static_cast<std::uint16_t>(crcnibble(crcnibble(i, 0), 0));
	for (unsigned k = 1; k < t.size(); k++)
		for (unsigned i = 0; i < 256; i++)
			t[k][i] = static_cast<std::uint16_t>(t[k - 1][i] >> 8 ^ t[0][t[k - 1][i] & 0xFF]);
	return t;
}

static constexpr crctables crctable = maketables();

unsigned
crcsliced(unsigned crc, const unsigned char *p, size_t n)
{
	// the CRC meets only the first two bytes of a slice; the rest look up at once
	for (; n >= 16; p += 16, n -= 16) {
		unsigned next = crctable[15][p[0] ^ (crc & 0xFF)] ^ crctable[14][p[1] ^ crc >> 8];
#pragma GCC unroll 14
		for (unsigned i = 2; i < 16; i++)
			next ^= crctable[15 - i][p[i]];
		crc = next;
	}
	for (; n > 0; p++, n--)
		crc = crc >> 8 ^ crctable[0][(crc ^ *p) & 0xFF];
	return crc;
}

#ifdef CRCFOLD
// The fold, in polynomials over GF(2). The CRC of a message m(x) is
// m(x)·x^16 mod P, P = x^16 + x^12 + x^5 + 1 (0x8408 reflected), and any
// value congruent to m(x) mod P has the same CRC. Sixteen bytes loaded into
// a 128-bit lane are, bit j of the lane, the coefficient of x^(127-j): the
// first bit in the file is the highest power, as the CRC reads it. A lane r
// carried d bits further along the message becomes r·x^d, and with r =
// H·x^64 + L (H its first eight bytes, L its last eight),
//     r·x^d ≡ H·(x^(64+d) mod P) + L·(x^d mod P)   (mod P),
// two carry-less products of 64 by at most 16 bits that fit in a lane. Such
// a product of two 64-bit values whose bit j holds x^(63-j) comes out with
// bit j holding x^(126-j), one place short of a lane's x^(127-j); taking the
// constants one power lower, x^(63+d) and x^(d-1), puts that x back.

// x^e mod P, with bit k holding x^k
static constexpr unsigned
xpowmod(unsigned e)
{
	unsigned r = 1;
	for (; e > 0; e--) {
		r <<= 1;
		if (r & 0x10000)
			r ^= 0x11021;
	}
	return r;
}

// a polynomial of degree below 64 as a multiplier: bit j holds x^(63-j)
static constexpr std::uint64_t
reflected(unsigned poly)
{
	std::uint64_t v = 0;
	for (unsigned k = 0; k < 16; k++)
		if (poly >> k & 1)
			v |= std::uint64_t{1} << (63 - k);
	return v;
}

// the pair of multipliers that carry a lane d bits along
struct foldpair {
	std::uint64_t first, last;
};

static constexpr foldpair
foldby(unsigned d)
{
	return {reflected(xpowmod(63 + d)), reflected(xpowmod(d - 1))};
}

static constexpr foldpair by512 = foldby(512), by384 = foldby(384), by256 = foldby(256), by128 = foldby(128);

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
	return CPU_FEATURE_ACTIVE(PCLMULQDQ);
}
#else
unsigned
crcfold(unsigned crc, const unsigned char *p, size_t n)
{
	return crcsliced(crc, p, n);
}

bool
havefold()
{
	return false;
}
#endif

unsigned
crcbytes(unsigned crc, const unsigned char *p, size_t n)
{
	// the fold's set-up and finish cost as much as a few slices
	return n >= 256 && havefold() ? crcfold(crc, p, n) : crcsliced(crc, p, n);
}
