// What makes a file a library object: the header, the prologue, the size
// field, the body and the CRC field, read once from front to back.
#include "libobj.h"

// "KALMIR-X" low half first, then the prologue 0 4 B 2 0; the eighth byte is free
const char firstones[] = "B414C4D49425D28504B20";
const char firstmask[] = "111111111111110011111";
const int firstlen = 21;

std::uint32_t libsize;
unsigned storedcrc;
unsigned truecrc;

// a nibble the object must have: a file that ends first is no library
static int
neednibble()
{
	int nib = getnibble();

	if (eofseen)
		notlibrary();
	return nib;
}

void
checkheader()
{
	for (int i = 0; i < firstlen; i++) {
		int nib = neednibble();
		if (firstmask[i] == '1' && firstones[i] != "0123456789ABCDEF"[nib])
			notlibrary();
	}
}

void
walkobject()
{
	unsigned crc = 0;

	libsize = 0;
	for (int i = 0; i < 5; i++) {
		int nib = neednibble();
		libsize += static_cast<std::uint32_t>(nib) << (4 * i);
		crc = crcnibble(crc, nib);
	}
	// the size counts itself (5) and the CRC field (4): at least one body nibble
	if (libsize <= 9)
		notlibrary();
	// the size field ends on a byte boundary, so the body's whole bytes
	// go in bulk; an odd last nibble is the low half of the next byte
	std::uint32_t left = libsize - 9;
	unsigned char chunk[bodychunk];
	for (size_t bytes = left / 2; bytes > 0;) {
		size_t n = bytes < sizeof chunk ? bytes : sizeof chunk;
		getbytes(chunk, n);
		if (eofseen)
			notlibrary();
		crc = crcbytes(crc, chunk, n);
		bytes -= n;
	}
	if (left % 2)
		crc = crcnibble(crc, neednibble());
	// the CRC field's four reads are tested for end of file together
	storedcrc = 0;
	for (int i = 0; i < 4; i++)
		storedcrc += static_cast<unsigned>(getnibble()) << (4 * i);
	if (eofseen)
		notlibrary();
	truecrc = crc & 0xFFFF;
}
