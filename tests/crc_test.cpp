// The CRC steps: the nibble step against the published check value of its
// byte-wise form, and each byte step (tables, fold, the one chosen) against
// the nibble step.
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

// each way over whole bytes, by name; the fold only where the CPU has it
struct bytestep {
	const char *name;
	unsigned (*step)(unsigned, const unsigned char *, size_t);
};
static void
PrintTo(const bytestep &s, std::ostream *os)
{
	*os << s.name;
}
static const bytestep bytesteps[] = {{"sliced", crcsliced}, {"fold", crcfold}, {"chosen", crcbytes}};

class wholebytes : public testing::TestWithParam<bytestep>
{
      protected:
	void SetUp() override
	{
		if (GetParam().step == crcfold && !havefold())
			GTEST_SKIP() << "this CPU has no carry-less multiply";
	}
};

TEST_P(wholebytes, ninedigits)
{
	EXPECT_EQ(GetParam().step(0, reinterpret_cast<const unsigned char *>("123456789"), 9), 0x2189u);
}

// every length through the slices, the fold's lanes and its tail, from
// several starts, each from a random CRC so far
TEST_P(wholebytes, agreeswithnibblesteps)
{
	std::mt19937 rng(1);
	std::vector<unsigned char> data(620);
	for (auto &b : data)
		b = static_cast<unsigned char>(rng());
	for (size_t start : {size_t{0}, size_t{1}, size_t{7}, size_t{13}})
		for (size_t len = 0; len <= 600; len++) {
			unsigned crc = rng() & 0xFFFF;
			ASSERT_EQ(GetParam().step(crc, &data[start], len), bynibbles(crc, &data[start], len))
				<< "start " << start << " length " << len;
		}
}

INSTANTIATE_TEST_SUITE_P(each, wholebytes, testing::ValuesIn(bytesteps),
                         [](const testing::TestParamInfo<bytestep> &which) { return std::string(which.param.name); });

TEST(crcnibble, stayswithinsixteenbits)
{
	for (unsigned crc = 0; crc <= 0xFFFF; crc++)
		for (int nib = 0; nib < 16; nib++)
			ASSERT_LE(crcnibble(crc, nib), 0xFFFFu);
}
