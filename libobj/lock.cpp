// Runs on one file take turns: each holds the file alone from its open to its
// close. Any program that may read the file may lock it too, for as long as
// it likes, so a run waits for it ten seconds at most, and then says so.
#include "libobj.h"

void
lockfile(FILE *f)
{
	// a queue of runs moves on within milliseconds; a long hold is polled gently
	for (unsigned waited = 0, pause = 1;; waited += pause, pause = pause < 64 ? pause * 2 : 100) {
		int held = trylock(f);
		if (held == 0)
			return;
		// errno says why: another's lock (trylock's 1), or a failure
		if (held < 0 || waited >= lockwait)
			ioerror(libname);
		pausefor(pause);
	}
}
