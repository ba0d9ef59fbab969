// Writes the true CRC into the object's CRC field, in place, through the
// stream the walk read from, and closes it: only a closed file is a filled one.
#include <cerrno>

#include "libobj.h"

static void
seekback(long bytes)
{
	if (fseek(libfile, -bytes, SEEK_CUR) != 0)
		ioerror(libname);
}

static void
putbyte(unsigned byte)
{
	if (fputc(static_cast<int>(byte), libfile) == EOF)
		ioerror(libname);
}

// the walk has just read this byte: if it is gone, the file changed under us
static unsigned
getbyte()
{
	int c = fgetc(libfile);

	if (c == EOF) {
		if (!ferror(libfile))
			errno = EIO;
		ioerror(libname);
	}
	return static_cast<unsigned>(c);
}

void
fillcrc()
{
	if (highnext) {
		// the field runs from the high half of byte B to the low half of B+2;
		// the high half of B+2 is padding only when the object ends the file
		unsigned keep = 0;
		int after = fgetc(libfile);

		if (after == EOF && ferror(libfile))
			ioerror(libname);
		if (after != EOF)
			keep = static_cast<unsigned>(lastbyte) & 0xF0;
		seekback(after == EOF ? 3 : 4);
		unsigned lo = getbyte() & 0xF; // the last body nibble shares byte B
		seekback(1);
		putbyte((truecrc & 0xF) << 4 | lo);
		putbyte(truecrc >> 4 & 0xFF);
		putbyte(keep | (truecrc >> 12 & 0xF));
	} else {
		seekback(2);
		putbyte(truecrc & 0xFF);
		putbyte(truecrc >> 8 & 0xFF);
	}
	// a buffered write can fail only when it is flushed
	int closed = fclose(libfile);
	libfile = nullptr;
	if (closed != 0)
		ioerror(libname);
}
