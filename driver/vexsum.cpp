// vexsum: check that a file holds a calculator library object, report its
// stored and true CRC, and write the true one into the file.
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

#include "libobj.h"

// A closed standard stream would lend its number to the library file, and
// the report or a notice would then be written into the file itself.
static void
keepstdstreams()
{
	if (fcntl(STDOUT_FILENO, F_GETFD) == -1)
		ioerror("standard output");
	if (fcntl(STDIN_FILENO, F_GETFD) == -1 && open("/dev/null", O_RDWR) != STDIN_FILENO)
		ioerror("/dev/null");
	if (fcntl(STDERR_FILENO, F_GETFD) == -1 && open("/dev/null", O_RDWR) != STDERR_FILENO)
		ioerror("/dev/null");
}

int
main(int argc, char *argv[]) // cppcheck-suppress constParameter
{
	fputs("vexsum v" VEXSUM_VERSION " by Zarvik\n", stderr);
	if (argc != 2) {
		fputs("Usage: vexsum <file>\n", stderr);
		exit(-1);
	}
	keepstdstreams();
	libname = argv[1];
	libfile = fopen(libname, "r+b");
	if (!libfile)
		ioerror(libname);
	checkheader();
	walkobject();
	printf("\tLibrary CRC:\t%04X\n\tTrue CRC:\t%04X\n", storedcrc, truecrc);
	// the report must reach its reader before the file is touched
	if (fflush(stdout) != 0)
		ioerror("standard output");
	fillcrc();
	return 0;
}
