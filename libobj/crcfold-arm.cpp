// The fold on 64-bit ARM: PMULL, the same carry-less multiply as x86's
// PCLMULQDQ, four 128-bit lanes, sixty-four bytes a step (the algebra is in
// crcfold.h). Whether the CPU has it: the kernel's hardware capabilities on
// Linux and FreeBSD; every Apple ARM CPU has it.
#include <arm_neon.h>

#include "crcfold.h"
#include "libobj.h"

#if defined(__linux__)
#include <asm/hwcap.h>
#include <sys/auxv.h>
static bool
cpuhaspmull()
{
	return (getauxval(AT_HWCAP) & HWCAP_PMULL) != 0;
}
#elif defined(__FreeBSD__)
#include <machine/elf.h>
#include <sys/auxv.h>
static bool
cpuhaspmull()
{
	unsigned long hwcap = 0;
	return elf_aux_info(AT_HWCAP, &hwcap, sizeof hwcap) == 0 && (hwcap & HWCAP_PMULL) != 0;
}
#elif defined(__APPLE__)
static bool
cpuhaspmull()
{
	return true;
}
#else
static bool
cpuhaspmull()
{
	return false;
}
#endif

#ifdef __clang__
#define PMULL __attribute__((target("aes")))
#else
#define PMULL __attribute__((target("+crypto")))
#endif

PMULL static inline uint64x2_t
fold(uint64x2_t r, foldpair k, uint64x2_t next)
{
	poly128_t first = vmull_p64(vgetq_lane_u64(r, 0), k.first);
	poly128_t last = vmull_p64(vgetq_lane_u64(r, 1), k.last);
	return veorq_u64(veorq_u64(vreinterpretq_u64_p128(first), vreinterpretq_u64_p128(last)), next);
}

static inline uint64x2_t
load(const unsigned char *p)
{
	return vreinterpretq_u64_u8(vld1q_u8(p));
}

PMULL unsigned
crcfold(unsigned crc, const unsigned char *p, size_t n)
{
	if (n < 64)
		return crcsliced(crc, p, n);
	// four lanes, sixty-four bytes apart; the CRC so far joins the first two bytes
	uint64x2_t x0 = veorq_u64(load(p), vsetq_lane_u64(crc, vdupq_n_u64(0), 0)), x1 = load(p + 16),
		   x2 = load(p + 32), x3 = load(p + 48);
	for (p += 64, n -= 64; n >= 64; p += 64, n -= 64) {
		x0 = fold(x0, by512, load(p));
		x1 = fold(x1, by512, load(p + 16));
		x2 = fold(x2, by512, load(p + 32));
		x3 = fold(x3, by512, load(p + 48));
	}
	// into one lane where x3 lies, then its sixteen bytes as a message of their own
	uint64x2_t zero = vdupq_n_u64(0);
	uint64x2_t x = veorq_u64(veorq_u64(fold(x0, by384, zero), fold(x1, by256, zero)), fold(x2, by128, x3));
	unsigned char lane[16];
	vst1q_u8(lane, vreinterpretq_u8_u64(x));
	return crcsliced(crcsliced(0, lane, 16), p, n);
}

bool
havefold()
{
	static int have = -1; // asked once: the answer never changes
	if (have < 0)
		have = cpuhaspmull() ? 1 : 0;
	return have != 0;
}
