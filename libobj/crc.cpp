// The object's CRC over whole bytes, with the CCITT polynomial x^16 + x^12 +
// x^5 + 1 (0x1021; 0x8408 reflected, as the object takes it): a byte taken
// low half first moves the CRC as two nibble steps do, so a table of those,
// sliced sixteen bytes at a time, gives the same value at a fraction of the
// cost, on any CPU.
#include <array>
#include <cstdint>

#include "libobj.h"

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
crcbytes(unsigned crc, const unsigned char *p, size_t n)
{
	// the CRC meets only the first two bytes of a slice; the rest look up at once
	for (; n >= 16; p += 16, n -= 16) {
		unsigned next = crctable[15][p[0] ^ (crc & 0xFF)] ^ crctable[14][p[1] ^ crc >> 8];
#pragma GCC unroll 14 // the loop's own counting would cost as much as its lookups
		for (unsigned i = 2; i < 16; i++)
			next ^= crctable[15 - i][p[i]];
		crc = next;
	}
	for (; n > 0; p++, n--)
		crc = crc >> 8 ^ crctable[0][(crc ^ *p) & 0xFF];
	return crc;
}
