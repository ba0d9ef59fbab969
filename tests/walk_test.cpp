// The walk takes the body in whole bytes and the CRC table steps; here it must
// agree with the tests' model, which reads nibble by nibble, for every body
// length near the edges of its chunks and slices, in both alignments of the
// CRC field.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ends.h"
#include "libobj.h"
#include "model.h"

static std::mt19937 rng(20261210);

// an object with a random body of LEN nibbles and CRC in its field
static bytes
randomobject(size_t len, unsigned crc)
{
	std::vector<int> body(len);
	for (int &nib : body)
		nib = static_cast<int>(rng() & 0xF);
	return object(body, crc);
}

// check and walk these bytes with a fresh reader, which is left open on
// them: how the run ended
static int
walk(const bytes &b)
{
	libfile = tmpfile();
	if (!libfile || fwrite(b.data(), 1, b.size(), libfile) != b.size())
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
		bytes b = randomobject(len, stored);

		ASSERT_EQ(walk(b), endaccepted) << len;
		EXPECT_EQ(libsize, len + 9) << len;
		EXPECT_EQ(truecrc, objectcrc(b)) << len;
		EXPECT_EQ(storedcrc, stored) << len;
		// 30 nibbles and the body's: an odd count ends in the pad half-byte
		EXPECT_EQ(highnext, static_cast<int>(len % 2)) << len;
		EXPECT_EQ(eofseen, 0) << len;
		EXPECT_EQ(ftell(libfile), static_cast<long>(b.size())) << len;
		fclose(libfile);
	}
}

TEST(walk, endofbodyorcrcfieldisnotalibrary)
{
	const size_t chunk = 2 * bodychunk; // in nibbles
	for (size_t len : {size_t{1}, size_t{2}, chunk - 1, chunk, chunk + 1, 4 * chunk}) {
		bytes b = randomobject(len, 0);
		// cut inside the body's chunks, before its last byte, and inside the CRC field
		for (size_t keep : {size_t{13}, 13 + len / 4, 13 + len / 2, b.size() - 1}) {
			bytes cut(b.begin(), b.begin() + static_cast<long>(keep));
			EXPECT_EQ(walk(cut), endnotlibrary) << len << " cut to " << keep;
			fclose(libfile);
		}
	}
}
