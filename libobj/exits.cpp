// The ways a run ends early: a file that is no library object, and a failure
// of the system, after which the file is as it was unless the line says not.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "libobj.h"

void
notlibrary()
{
	fputs("Not a library object, ignoring CRC fill.\n", stderr);
	exit(0);
}

// name the file (or stream) and the system's reason, as perror does
void
ioerror(const char *name)
{
	const char *why = strerror(errno);
	puterr(name);
	puterr(": ");
	puterr(why);
	puterr("\n");
	exit(1);
}

// a write failed part way and the old bytes could not be put back either
void
tornerror(const char *name, int err)
{
	puterr(name);
	puterr(": ");
	puterr(strerror(err));
	puterr("; the CRC field may now be partly new\n");
	exit(1);
}
