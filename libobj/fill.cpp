// Writes the true CRC into the object's CRC field, in place. Before the first
// byte goes out the run has made sure that the file still holds the whole
// field and that no file-size limit falls inside it, and where it can (Linux,
// on a file system that allocates ahead) it has allocated the field's blocks,
// so that a full disk refuses it whole. An error part way all the same (a
// failing disk, or a full disk on Windows or where blocks cannot be allocated
// ahead) puts the old bytes back, and so does a path found naming another
// file, or none, right after the write; only if that fails too may the field
// be left partly new, and the error line then says so.
#include <cerrno>

#include "libobj.h"

// n bytes written at byte at, again after a short count: how many landed
// before the first error (errno says which)
static size_t
putall(const unsigned char *buf, size_t n, std::int64_t at)
{
	size_t done = 0;
	while (done < n) {
		int wrote = putat(libfile, buf + done, n - done, at + static_cast<std::int64_t>(done));
		if (wrote <= 0) {
			if (wrote == 0)
				errno = EIO;
			break;
		}
		done += static_cast<size_t>(wrote);
	}
	return done;
}

// the new field, or on an error the old bytes put back where the new ones
// landed (that needs no new space in the file), and the first error reported
static void
putfield(std::int64_t at, const unsigned char *now, const unsigned char *old, size_t n)
{
	size_t done = putall(now, n, at);
	if (done < n) {
		int first = errno;
		if (putall(old, done, at) < done)
			tornerror(libname, first);
		errno = first;
		ioerror(libname);
	}
}

// The path must name the file that is written, before the write and after
// it: a file renamed over or removed at the write would otherwise be reported
// filled while the path holds another file, or none. After the write the old
// bytes go back first, so that the run's file is as it was.
static void
stillnamed(std::int64_t at, const unsigned char *old, size_t n, bool written)
{
	int named = namesfile(libfile, libname);
	if (named == 0)
		return;
	int why = errno;
	if (written && putall(old, n, at) < n)
		tornerror(libname, errno);
	if (named < 0) {
		errno = why;
		ioerror(libname);
	}
	goneerror(libname);
}

void
fillcrc()
{
	// the field starts at nibble 17+S, in byte B = (17+S)/2; mid-byte when the
	// walk ended in a byte's low half, and then it runs to the low half of B+2
	size_t n = highnext ? 3 : 2;
	std::int64_t at = (17 + static_cast<std::int64_t>(libsize)) / 2;

	// read the field's bytes again, past the stream's buffer, and one more
	// to learn whether data follows; fewer means the file shrank since the walk
	unsigned char old[4], now[3];
	int got = getat(libfile, old, n + 1, at);
	if (got < static_cast<int>(n)) {
		if (got >= 0)
			errno = EIO;
		ioerror(libname);
	}
	if (highnext) {
		now[0] = static_cast<unsigned char>((truecrc & 0xF) << 4 | (old[0] & 0xF));
		now[1] = static_cast<unsigned char>(truecrc >> 4 & 0xFF);
		// the high half of B+2 is padding only when the object ends the file
		unsigned keep = got > static_cast<int>(n) ? old[2] & 0xF0u : 0;
		now[2] = static_cast<unsigned char>(keep | (truecrc >> 12 & 0xF));
	} else {
		now[0] = static_cast<unsigned char>(truecrc & 0xFF);
		now[1] = static_cast<unsigned char>(truecrc >> 8 & 0xFF);
	}
	if (reservefield(libfile, at, n) != 0)
		ioerror(libname);
	stillnamed(at, old, n, false);
	putfield(at, now, old, n);
	stillnamed(at, old, n, true);

	int closed = fclose(libfile);
	libfile = nullptr;
	if (closed != 0)
		closeerror(libname);
}
