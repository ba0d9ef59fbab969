// What vexsum needs of a POSIX system beyond the standard streams
// (Linux, macOS, the BSDs); windows.cpp is its counterpart.
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#include "libobj.h"

// A closed standard stream would lend its number to the library file, and a
// notice or the report would then be written into the file itself. Standard
// output gets /dev/null read-only, so a report to it fails as it should.
static void
keepopen(int fd, int mode)
{
	if (fcntl(fd, F_GETFD) == -1 && open("/dev/null", mode) != fd)
		ioerror("/dev/null");
}

void
guardprocess()
{
	keepopen(STDIN_FILENO, O_RDONLY);
	keepopen(STDOUT_FILENO, O_RDONLY);
	keepopen(STDERR_FILENO, O_WRONLY);
	// a file-size limit inside the CRC field is a failed write to report, not a silent kill
	signal(SIGXFSZ, SIG_IGN);
}

long
getat(FILE *f, unsigned char *buf, size_t n, long at)
{
	return static_cast<long>(pread(fileno(f), buf, n, at));
}

long
putat(FILE *f, const unsigned char *buf, size_t n, long at)
{
	return static_cast<long>(pwrite(fileno(f), buf, n, at));
}

// POSIX streams never translate line ends: nothing to do
void
setbinary(FILE *)
{
}
