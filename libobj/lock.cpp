// Runs on one file take turns: each holds the file alone from just after its
// open to its close. Any program that may read the file may lock it too, or
// hold a lease on it, for as long as it likes, so a run waits for either ten
// seconds at most in all, and then says so.
#include <cerrno>

#include "libobj.h"

// opened (a lease held by another fails the open with EWOULDBLOCK) and
// locked: 0; 1 while another holds the file; -1 on a failure, errno says which
static int
tryfile(const char *path)
{
	if (!libfile && !(libfile = openlib(path)))
		return errno == EWOULDBLOCK ? 1 : -1;
	return trylock(libfile);
}

void
openlocked(const char *path)
{
	// a queue of runs moves on within milliseconds; a long hold is polled gently
	for (unsigned waited = 0, pause = 1;; waited += pause, pause = pause < 64 ? pause * 2 : 100) {
		int held = tryfile(path);
		if (held == 0)
			return;
		if (held < 0 || waited >= lockwait)
			ioerror(path);
		pausefor(pause);
	}
}
