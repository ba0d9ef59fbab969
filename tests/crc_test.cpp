// The CRC steps: the nibble step against the published check value of its
// byte-wise form and against the bit-by-bit definition, and the table step
// against the nibble step.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "libobj.h"
#include "model.h"

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

// every CRC so far with every nibble: the step's shortcut gives what four
// bit steps do, and so never leaves sixteen bits
TEST(crcnibble, agreeswithbitsteps)
{
	for (unsigned crc = 0; crc <= 0xFFFF; crc++)
		for (int nib = 0; nib < 16; nib++)
			ASSERT_EQ(crcnibble(crc, nib), bitcrc(crc, nib)) << "crc " << crc << " nibble " << nib;
}

TEST(crcbytes, ninedigits)
{
	EXPECT_EQ(crcbytes(0, reinterpret_cast<const unsigned char *>("123456789"), 9), 0x2189u);
}

// random data at every length through three slices, from several starts,
// each from a random CRC so far; then one long run
TEST(crcbytes, agreeswithnibblesteps)
{
	std::mt19937 rng(1);
	std::vector<unsigned char> data(70000);
	for (auto &b : data)
		b = static_cast<unsigned char>(rng());
	for (size_t start : {size_t{0}, size_t{1}, size_t{7}, size_t{13}})
		for (size_t len = 0; len <= 50; len++) {
			unsigned crc = rng() & 0xFFFF;
			ASSERT_EQ(crcbytes(crc, &data[start], len), bynibbles(crc, &data[start], len))
				<< "start " << start << " length " << len;
		}
	EXPECT_EQ(crcbytes(0x1234, data.data(), data.size()), bynibbles(0x1234, data.data(), data.size()));
}
