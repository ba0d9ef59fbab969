// The ways a run ends early: a file that is no library object, and a failure
// of the system. After a failure the file is as it was, except after a failed
// close, when it already holds the new field, and when the line says the
// field may be partly new: each of those two says so in its line.
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

// "NAME: REASON" and the rest of the line, as perror words it, and status 1
[[noreturn]] static void
failline(const char *name, const char *reason, const char *rest)
{
	puterr(name);
	puterr(": ");
	puterr(reason);
	puterr(rest);
	exit(1);
}

// name the file (or stream) and the system's reason
void
ioerror(const char *name)
{
	failline(name, strerror(errno), "\n");
}

// a write failed part way and the old bytes could not be put back either
void
tornerror(const char *name, int err)
{
	failline(name, strerror(err), "; the CRC field may now be partly new\n");
}

// the path no longer names the file that the run read: writing would fill a
// file that nobody will see, and leave the path's file as it was
void
goneerror(const char *name)
{
	failline(name, "the file was replaced or removed during the run", "\n");
}

// the close after the write failed: the file holds the new field, unlike
// after any other failure, so the line says so
void
closeerror(const char *name)
{
	failline(name, strerror(errno), " (closing it, after the CRC was written)\n");
}
