// The two ways a run ends before the CRC is filled.
#include <cstdlib>

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
	perror(name);
	exit(1);
}
