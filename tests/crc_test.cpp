// The CRC steps: the nibble step against the published check value of its
// byte-wise form, and the byte steps against the nibble step.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "libobj.h"

static unsigned
bynibbles(unsigned crc, const unsigned char *p, size_t n)
{
	for (; n > 0; p++, n--)
		crc = crcnibble(crcnibble(crc, *p & 0xF), *p >> 4);
	return crc;
}

TEST(crcnibble, ninedigitsfedlowhalffirst)
{
	EXPECT_EQ(bynibbles(0, reinterpret_cast<const unsigned char *>("123456789"), 9), 0x2189u);
}

TEST(crcbytes, ninedigits)
{
	EXPECT_EQ(crcbytes(0, reinterpret_cast<const unsigned char *>("123456789"), 9), 0x2189u);
}

TEST(crcnibble, stayswithinsixteenbits)
{
	for (unsigned crc = 0; crc <= 0xFFFF; crc++)
		for (int nib = 0; nib < 16; nib++)
			ASSERT_LE(crcnibble(crc, nib), 0xFFFFu);
}

// every length around the eight-byte slices, from every start within a slice
TEST(crcbytes, agreeswithnibblesteps)
{
	std::mt19937 rng(1);
	std::vector<unsigned char> data(200);
	for (auto &b : data)
		b = static_cast<unsigned char>(rng());
	for (size_t start = 0; start < 8; start++)
		for (size_t len = 0; len <= 80; len++) {
			unsigned crc = rng() & 0xFFFF;
			ASSERT_EQ(crcbytes(crc, &data[start], len), bynibbles(crc, &data[start], len))
				<< "start " << start << " length " << len;
		}
}
