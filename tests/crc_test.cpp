// The CRC step against the published check value of its byte-wise form.
#include <gtest/gtest.h>

#include "libobj.h"

TEST(crcnibble, ninedigitsfedlowhalffirst)
{
	unsigned crc = 0;
	for (const char *p = "123456789"; *p; p++) {
		crc = crcnibble(crc, *p & 0xF);
		crc = crcnibble(crc, *p >> 4 & 0xF);
	}
	EXPECT_EQ(crc, 0x2189u);
}

TEST(crcnibble, stayswithinsixteenbits)
{
	for (unsigned crc = 0; crc <= 0xFFFF; crc++)
		for (int nib = 0; nib < 16; nib++)
			ASSERT_LE(crcnibble(crc, nib), 0xFFFFu);
}
