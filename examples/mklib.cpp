// mklib: write a library object file to standard output, for samples and tests.
// usage: mklib BODY [CRC]
// BODY is the body's nibbles as upper-case hex digits in file order, or - to
// read them from standard input (an argument holds only 128 KiB); CRC is the stored
// CRC as four hex digits, the true one when left out. The eighth header byte
// is X and the pad half-byte, when there is one, is 0.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "model.h" // the tests' own maker of objects (tests/model.h)

static int
hexval(char c)
{
	const char *p = strchr("0123456789ABCDEF", c);

	if (!c || !p) {
		fprintf(stderr, "mklib: %c is not an upper-case hex digit\n", c);
		exit(2);
	}
	return static_cast<int>(p - "0123456789ABCDEF");
}

static char body[0xFFFFF - 9 + 2];

int
main(int argc, char *argv[])
{
#ifdef _WIN32 // Windows' runtime would write each 0A byte as 0D 0A
	_setmode(_fileno(stdout), _O_BINARY);
#endif
	if (argc < 2 || argc > 3 || (argc == 3 && strlen(argv[2]) != 4)) {
		fputs("usage: mklib BODY [CRC]\n", stderr);
		return 2;
	}
	if (strcmp(argv[1], "-") == 0) {
		body[fread(body, 1, sizeof body - 1, stdin)] = 0;
		body[strcspn(body, "\n")] = 0;
	} else {
		snprintf(body, sizeof body, "%s", argv[1]);
	}
	if (strlen(body) + 9 > 0xFFFFF) {
		fputs("mklib: the body is longer than the size field allows\n", stderr);
		return 2;
	}
	std::vector<int> nibs;
	for (const char *p = body; *p; p++)
		nibs.push_back(hexval(*p));
	bytes lib = object(nibs, 0);
	setcrc(lib, argc == 3 ? static_cast<unsigned>(strtoul(argv[2], nullptr, 16)) : objectcrc(lib));
	return fwrite(lib.data(), 1, lib.size(), stdout) == lib.size() && fflush(stdout) == 0 ? 0 : 1;
}
