// What vexsum needs of Windows beyond the standard streams; posix.cpp is
// its counterpart.
#include <cstdio>

#include <fcntl.h>
#include <io.h>

#include "libobj.h"

// The runtime keeps descriptors 0 to 2 for the standard streams even when
// they are closed, so the library file never takes their place, and there
// is no signal for a file-size limit.
void
guardprocess()
{
}

// The stream's descriptor, set to byte at, or -1. The stream was opened in
// binary mode, so the descriptor reads and writes bytes as they are; there is
// one caller at a time, so seeking and then transferring is safe.
static int
seekfd(FILE *f, long at)
{
	int fd = _fileno(f);

	return _lseeki64(fd, at, SEEK_SET) < 0 ? -1 : fd;
}

long
getat(FILE *f, unsigned char *buf, size_t n, long at)
{
	int fd = seekfd(f, at);

	return fd < 0 ? -1 : _read(fd, buf, static_cast<unsigned>(n));
}

long
putat(FILE *f, const unsigned char *buf, size_t n, long at)
{
	int fd = seekfd(f, at);

	return fd < 0 ? -1 : _write(fd, buf, static_cast<unsigned>(n));
}

void
setbinary(FILE *f)
{
	_setmode(_fileno(f), _O_BINARY);
}
