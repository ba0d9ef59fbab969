// A library object as the tests see it, from the file layout alone and
// sharing no code with libobj, so that a fault there cannot hide in both:
// nibbles low half first, the CRC one bit at a time, and the maker of
// objects. The unit tests, the fuzzer, the property test and mklib (the
// samples' maker) all use this one.
#ifndef MODEL_H
#define MODEL_H

#include <cstddef>
#include <vector>

using bytes = std::vector<unsigned char>;

// nibble k of the file, the low half of each byte first
inline int nibble(const bytes &b, size_t k) { return b[k / 2] >> (k % 2 * 4) & 0xF; }

inline void
setnibble(bytes &b, size_t k, int v)
{
	int shift = k % 2 * 4;
	b[k / 2] = static_cast<unsigned char>((b[k / 2] & ~(0xF << shift)) | v << shift);
}

// one nibble into the CRC as it is defined: a bit at a time, the low bit
// first, over the reflected CCITT polynomial 0x8408
inline unsigned
bitcrc(unsigned crc, int nib)
{
	for (int bit = 0; bit < 4; bit++) {
		crc ^= static_cast<unsigned>(nib >> bit & 1);
		crc = crc & 1 ? (crc >> 1) ^ 0x8408 : crc >> 1;
	}
	return crc;
}

// the size field: nibbles 21-25, the low one first; the object ends 21
// nibbles after its start plus the size, with the CRC field its last four
inline unsigned long
sizefield(const bytes &b)
{
	unsigned long size = 0;
	for (size_t i = 0; i < 5; i++)
		size |= static_cast<unsigned long>(nibble(b, 21 + i)) << 4 * i;
	return size;
}

// the CRC of the object that the file starts with, from the size field
// through the body; the whole object must be there
inline unsigned
objectcrc(const bytes &b)
{
	unsigned crc = 0;
	for (size_t k = 21, end = 21 + sizefield(b); k < end - 4; k++)
		crc = bitcrc(crc, nibble(b, k));
	return crc;
}

// writes CRC into the field of the object that the file starts with
inline void
setcrc(bytes &b, unsigned crc)
{
	size_t end = 21 + sizefield(b);
	for (size_t i = 0; i < 4; i++)
		setnibble(b, end - 4 + i, static_cast<int>(crc >> 4 * i & 0xF));
}

// an object around the body's nibbles, with CRC stored in its field: the
// header KALMIR-X, the prologue 0 4 B 2 0, the size field; a pad half-byte
// of 0 when it ends mid-byte
inline bytes
object(const std::vector<int> &body, unsigned crc)
{
	size_t size = body.size() + 9;
	bytes b((21 + size + 1) / 2);
	const char header[] = "KALMIR-X";
	for (size_t i = 0; i < 8; i++)
		b[i] = static_cast<unsigned char>(header[i]);
	const int prologue[] = {0, 4, 0xB, 2, 0};
	for (size_t i = 0; i < 5; i++) {
		setnibble(b, 16 + i, prologue[i]);
		setnibble(b, 21 + i, static_cast<int>(size >> 4 * i & 0xF));
	}
	for (size_t i = 0; i < body.size(); i++)
		setnibble(b, 26 + i, body[i]);
	setcrc(b, crc);
	return b;
}

#endif
