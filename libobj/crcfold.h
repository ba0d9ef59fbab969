// The fold's algebra, shared by each CPU's fold (crcfold-x86.cpp,
// crcfold-arm.cpp): the multipliers that carry a 128-bit lane along the
// message, derived at compile time.
//
// In polynomials over GF(2): the CRC of a message m(x) is m(x)·x^16 mod P,
// P = x^16 + x^12 + x^5 + 1 (0x1021, or 0x8408 reflected), and any value
// congruent to m(x) mod P has the same CRC. Sixteen bytes loaded into a
// 128-bit lane are, bit j of the lane, the coefficient of x^(127-j): the
// first bit in the file is the highest power, as the CRC reads it. A lane r
// carried d bits further along the message becomes r·x^d, and with r =
// H·x^64 + L (H its first eight bytes, L its last eight),
//     r·x^d ≡ H·(x^(64+d) mod P) + L·(x^d mod P)   (mod P),
// two carry-less products of 64 by at most 16 bits that fit in a lane. Such
// a product of two 64-bit values whose bit j holds x^(63-j) comes out with
// bit j holding x^(126-j), one place short of a lane's x^(127-j); taking the
// constants one power lower, x^(63+d) and x^(d-1), puts that x back.
#ifndef CRCFOLD_H
#define CRCFOLD_H

#include <cstdint>

// x^e mod P, with bit k holding x^k
constexpr unsigned
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
constexpr std::uint64_t
reflected(unsigned poly)
{
	std::uint64_t v = 0;
	for (unsigned k = 0; k < 16; k++)
		if (poly >> k & 1)
			v |= std::uint64_t{1} << (63 - k);
	return v;
}

// the pair of multipliers that carry a lane d bits along: the first for the
// lane's first eight bytes, the last for its last eight
struct foldpair {
	std::uint64_t first, last;
};

constexpr foldpair
foldby(unsigned d)
{
	return {reflected(xpowmod(63 + d)), reflected(xpowmod(d - 1))};
}

// four lanes a step apart, then folded into the lane where the last one lies
constexpr foldpair by512 = foldby(512), by384 = foldby(384), by256 = foldby(256), by128 = foldby(128);

#endif
