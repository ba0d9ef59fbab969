// The unit tests' main: an exit from the code under test, which would end
// the program with a status of its own choosing, fails it instead.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

static bool finished;

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
