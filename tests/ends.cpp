// The unit tests' own ends of a run: notlibrary and ioerror return to the
// test that called the code instead of ending the process, and an exit that
// no test expected fails the test program rather than passing for its end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "ends.h"
#include "libobj.h"

jmp_buf endback;
static bool armed;
static int ending;

static bool finished;

[[noreturn]] static void
endrun(int how)
{
	if (!armed) {
		fprintf(stderr, "unit_test: the code under test ended the run (%d) where no test expected it\n", how);
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

int
main(int argc, char **argv)
{
	testing::InitGoogleTest(&argc, argv);
	std::atexit([] {
		if (!finished) {
			fputs("unit_test: exit was called before the tests finished\n", stderr);
			std::_Exit(1);
		}
	});
	int status = RUN_ALL_TESTS();
	finished = true;
	return status;
}
