// The library file as a forward-only stream of nibbles, low half of each byte first.
#include "libobj.h"

FILE *libfile;
const char *libname;
int lastbyte;
int highnext;
int eofseen;

int
getnibble()
{
	int value;

	if (highnext) {
		value = lastbyte >> 4;
	} else {
		lastbyte = fgetc(libfile);
		if (lastbyte == EOF) {
			// a failing disk must not pass for a short file
			if (ferror(libfile))
				ioerror(libname);
			eofseen = 1;
		}
		value = lastbyte;
	}
	highnext ^= 1;
	return value & 0xF;
}

// Whole bytes at once, for a reader that stands on a byte boundary
// (highnext 0), which it still does afterwards, so the next nibble reads a
// fresh byte and lastbyte is not needed. Sets eofseen when short.
void
getbytes(unsigned char *buf, size_t n)
{
	if (fread(buf, 1, n, libfile) < n) {
		if (ferror(libfile))
			ioerror(libname);
		eofseen = 1;
	}
}
