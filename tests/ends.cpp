// The tests' own ends of a run, linked in place of exits.cpp: notlibrary and
// ioerror return to the test that called the code instead of ending the
// process, and an end that no test expected fails the test program rather
// than passing for its end. Plain definitions, no linker's options: the unit
// tests and the fuzzer link so with every compiler and system they build for.
#include <cstdio>
#include <cstdlib>

#include "ends.h"
#include "libobj.h"

jmp_buf endback;
static bool armed;
static int ending;

[[noreturn]] static void
endrun(int how)
{
	if (!armed) {
		fprintf(stderr, "the code under test ended the run (%d) where no test expected it\n", how);
		std::_Exit(1);
	}
	armed = false;
	ending = how;
	longjmp(endback, 1);
}

void notlibrary() { endrun(endnotlibrary); }
void ioerror(const char *) { endrun(endioerror); }
void tornerror(const char *, int) { endrun(endioerror); }
void goneerror(const char *) { endrun(endioerror); }
void closeerror(const char *) { endrun(endioerror); }

void arm() { armed = true, ending = endaccepted; }
int ended()
{
	armed = false;
	return ending;
}
