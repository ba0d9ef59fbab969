// What vexsum needs of Windows beyond the standard streams; posix.cpp is
// its counterpart.
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "libobj.h"

// The runtime keeps descriptors 0 to 2 for the standard streams even when
// they are closed, so the library file never takes their place, and there
// is no signal for a file-size limit.
void
guardprocess()
{
}

void
lockfile(FILE *f)
{
	auto h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
	OVERLAPPED from{}; // byte 0 on, as far as a file can reach
	if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &from))
		return;
	// a file system without locks (some network shares) still gets its CRC
	DWORD why = GetLastError();
	if (why == ERROR_NOT_SUPPORTED || why == ERROR_INVALID_FUNCTION)
		return;
	errno = EACCES;
	ioerror(libname);
}

// The stream's descriptor, set to byte at, or -1. The stream was opened in
// binary mode, so the descriptor reads and writes bytes as they are; there is
// one caller at a time, so seeking and then transferring is safe.
static int
seekfd(FILE *f, std::int64_t at)
{
	int fd = _fileno(f);

	return _lseeki64(fd, at, SEEK_SET) < 0 ? -1 : fd;
}

int
getat(FILE *f, unsigned char *buf, size_t n, std::int64_t at)
{
	int fd = seekfd(f, at);

	return fd < 0 ? -1 : _read(fd, buf, static_cast<unsigned>(n));
}

int
putat(FILE *f, const unsigned char *buf, size_t n, std::int64_t at)
{
	int fd = seekfd(f, at);

	return fd < 0 ? -1 : _write(fd, buf, static_cast<unsigned>(n));
}

// Windows has no file-size limit to check and allocates on write; what is
// left is that the file still holds the field, checked right before the write
int
roomfor(FILE *f, std::int64_t at, size_t n)
{
	struct _stati64 st {};
	if (_fstati64(_fileno(f), &st) != 0)
		return -1;
	if ((st.st_mode & _S_IFMT) == _S_IFREG && st.st_size < at + static_cast<std::int64_t>(n)) {
		errno = EIO;
		return -1;
	}
	return 0;
}

void
setbinary(FILE *f)
{
	_setmode(_fileno(f), _O_BINARY);
}
