// vexsum: check that a file holds a calculator library object, report its
// stored and true CRC, and write the true one into the file.
#include <cstdlib>

#include "libobj.h"

int
main(int argc, char *argv[]) // cppcheck-suppress constParameter
{
	setvbuf(stderr, nullptr, _IONBF, 0); // the banner before any system error line
	fputs("vexsum v" VEXSUM_VERSION " by Zarvik\n", stderr);
	if (argc != 2) {
		fputs("Usage: vexsum <file>\n", stderr);
		exit(-1);
	}
	guardprocess();
	libname = argv[1];
	libfile = fopen(libname, "r+b");
	// a pipe or terminal never ends while we hold it open for writing: refuse it unread
	if (!libfile || fseek(libfile, 0, SEEK_CUR) != 0)
		ioerror(libname);
	checkheader();
	walkobject();
	printf("\tLibrary CRC:\t%04X\n\tTrue CRC:\t%04X\n", storedcrc, truecrc);
	// the report must reach its reader before the file is touched
	if (fflush(stdout) != 0 || ferror(stdout))
		ioerror("standard output");
	fillcrc();
	return 0;
}
