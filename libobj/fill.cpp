// Writes the true CRC into the object's CRC field, in place: the whole new
// field or, on any failure, the old one, never a mix of the two.
#include <cerrno>

#include "libobj.h"

// the field's bytes could not be read again: a failing disk, or a file that
// shrank since the walk read them
[[noreturn]] static void
rereadfailed(long got)
{
	if (got >= 0)
		errno = EIO;
	ioerror(libname);
}

// one positioned write of the field, repeated after a short count; on an
// error the bytes already changed get their old values back (that needs no
// new space in the file) and the first error is the one reported
static void
putfield(long at, const unsigned char *now, const unsigned char *old, size_t n)
{
	for (size_t done = 0; done < n;) {
		long wrote = putat(libfile, now + done, n - done, at + static_cast<long>(done));
		if (wrote <= 0) {
			int first = wrote == 0 ? EIO : errno;
			for (size_t back = 0; back < done;) {
				long put = putat(libfile, old + back, done - back, at + static_cast<long>(back));
				if (put <= 0)
					break;
				back += static_cast<size_t>(put);
			}
			errno = first;
			ioerror(libname);
		}
		done += static_cast<size_t>(wrote);
	}
}

void
fillcrc()
{
	// the field starts mid-byte when the walk ended in a byte's low half: it
	// then runs from the high half of byte B to the low half of B+2
	size_t n = highnext ? 3 : 2;
	long at = ftell(libfile);
	if (at < 0)
		ioerror(libname);
	at -= static_cast<long>(n);

	// read the field's bytes again, past the stream's buffer, and one more
	// to learn whether data follows
	unsigned char old[4], now[3];
	long got = getat(libfile, old, n + 1, at);
	if (got < static_cast<long>(n))
		rereadfailed(got);
	if (highnext) {
		now[0] = static_cast<unsigned char>((truecrc & 0xF) << 4 | (old[0] & 0xF));
		now[1] = static_cast<unsigned char>(truecrc >> 4 & 0xFF);
		// the high half of B+2 is padding only when the object ends the file
		unsigned keep = got > static_cast<long>(n) ? old[2] & 0xF0u : 0;
		now[2] = static_cast<unsigned char>(keep | (truecrc >> 12 & 0xF));
	} else {
		now[0] = static_cast<unsigned char>(truecrc & 0xFF);
		now[1] = static_cast<unsigned char>(truecrc >> 8 & 0xFF);
	}
	putfield(at, now, old, n);

	int closed = fclose(libfile);
	libfile = nullptr;
	if (closed != 0)
		ioerror(libname);
}
