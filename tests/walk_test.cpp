// The walk takes the body in whole bytes and the CRC table steps; here it must
// agree with the plain nibble-by-nibble reading for every body length near
// the edges of its chunks and slices, in both alignments of the CRC field.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ends.h"
#include "libobj.h"

static std::mt19937 rng(20261210);

// a nibble string, low half of each byte first, packed into bytes
static std::vector<unsigned char>
pack(const std::vector<int> &nibs)
{
	std::vector<unsigned char> bytes((nibs.size() + 1) / 2);
	for (size_t k = 0; k < nibs.size(); k++)
		bytes[k / 2] = static_cast<unsigned char>(bytes[k / 2] | nibs[k] << (k % 2 * 4));
	return bytes;
}

static std::vector<int>
object(size_t bodylen, unsigned crc)
{
	std::vector<int> nibs;
	for (char c : std::string("KALMIR-X")) {
		nibs.push_back(c & 0xF);
		nibs.push_back(c >> 4 & 0xF);
	}
	for (int nib : {0, 4, 0xB, 2, 0})
		nibs.push_back(nib);
	for (int i = 0; i < 5; i++)
		nibs.push_back(static_cast<int>((bodylen + 9) >> 4 * i & 0xF));
	for (size_t i = 0; i < bodylen; i++)
		nibs.push_back(static_cast<int>(rng() & 0xF));
	for (int i = 0; i < 4; i++)
		nibs.push_back(static_cast<int>(crc >> 4 * i & 0xF));
	return nibs;
}

// check and walk these bytes with a fresh reader, which is left open on
// them: how the run ended
static int
walk(const std::vector<unsigned char> &bytes)
{
	libfile = tmpfile();
	if (!libfile || fwrite(bytes.data(), 1, bytes.size(), libfile) != bytes.size())
		return -2;
	rewind(libfile);
	libname = "object";
	lastbyte = highnext = eofseen = 0;
	arm();
	if (setjmp(endback) == 0) {
		checkheader();
		walkobject();
	}
	return ended();
}

static std::vector<size_t>
edgelengths()
{
	std::vector<size_t> lens;
	for (size_t n = 1; n <= 40; n++)
		lens.push_back(n);
	// around the ends of the walk's chunks
	for (size_t chunks : {size_t{1}, size_t{2}, size_t{31}})
		for (size_t n = chunks * 2 * bodychunk - 3; n <= chunks * 2 * bodychunk + 3; n++)
			lens.push_back(n);
	lens.push_back(0xFFFFF - 9 - 1);
	lens.push_back(0xFFFFF - 9);
	return lens;
}

TEST(walk, agreeswithnibblebynibble)
{
	for (size_t len : edgelengths()) {
		unsigned stored = rng() & 0xFFFF;
		std::vector<int> nibs = object(len, stored);
		unsigned want = 0;
		for (size_t k = 21; k < 26 + len; k++)
			want = crcnibble(want, nibs[k]);

		ASSERT_EQ(walk(pack(nibs)), endaccepted) << len;
		EXPECT_EQ(libsize, len + 9) << len;
		EXPECT_EQ(truecrc, want) << len;
		EXPECT_EQ(storedcrc, stored) << len;
		EXPECT_EQ(highnext, static_cast<int>(nibs.size() % 2)) << len;
		EXPECT_EQ(eofseen, 0) << len;
		EXPECT_EQ(ftell(libfile), static_cast<long>((nibs.size() + 1) / 2)) << len;
		fclose(libfile);
	}
}

TEST(walk, endofbodyorcrcfieldisnotalibrary)
{
	const size_t chunk = 2 * bodychunk; // in nibbles
	for (size_t len : {size_t{1}, size_t{2}, chunk - 1, chunk, chunk + 1, 4 * chunk}) {
		std::vector<unsigned char> bytes = pack(object(len, 0));
		// cut inside the body's chunks, before its last byte, and inside the CRC field
		for (size_t keep : {size_t{13}, 13 + len / 4, 13 + len / 2, bytes.size() - 1}) {
			std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<long>(keep));
			EXPECT_EQ(walk(cut), endnotlibrary) << len << " cut to " << keep;
			fclose(libfile);
		}
	}
}
