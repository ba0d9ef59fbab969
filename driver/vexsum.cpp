// vexsum: check that a file holds a calculator library object, report its
// stored and true CRC, and write the true one into the file.
#include <cstdlib>

#include "libobj.h"

int
main(int argc, char *argv[]) // cppcheck-suppress constParameter
{
	// Windows' runtime buffers a redirected standard error: unbuffered, the
	// banner comes out before the report and any system error line
	setvbuf(stderr, nullptr, _IONBF, 0);
	nosizesignal(); // from the first write on: the banner to a file at its limit too
	fputs("vexsum v" VEXSUM_VERSION " by Zarvik\n", stderr);
	getargs(&argc, &argv);
	if (argc != 2) {
		fputs("Usage: vexsum <file>\n", stderr);
		exit(-1);
	}
	keepstreams();
	libname = argv[1];
	openlocked(libname);
	checkheader();
	walkobject();
	printf("\tLibrary CRC:\t%04X\n\tTrue CRC:\t%04X\n", storedcrc, truecrc);
	// the report must reach its reader before the file is touched
	if (fflush(stdout) != 0 || ferror(stdout))
		ioerror("standard output");
	fillcrc();
	return 0;
}
