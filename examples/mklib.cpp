// mklib: write a library object file to standard output, for samples and tests.
// usage: mklib BODY [CRC]
// BODY is the body's nibbles as upper-case hex digits in file order, or - to
// read them from standard input (an argument holds only 128 KiB); CRC is the stored
// CRC as four hex digits, the true one when left out. The eighth header byte
// is X and the pad half-byte, when there is one, is 0.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "libobj.h"

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

static int pending = -1; // low half of a byte not yet written
static char body[0xFFFFF - 9 + 2];

static void
putnibble(int nib)
{
	if (pending < 0) {
		pending = nib;
	} else {
		putchar(pending | nib << 4);
		pending = -1;
	}
}

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
	size_t size = strlen(body) + 9;
	if (size > 0xFFFFF) {
		fputs("mklib: the body is longer than the size field allows\n", stderr);
		return 2;
	}
	unsigned crc = 0;

	for (const char *p = "KALMIR-X"; *p; p++) {
		putnibble(*p & 0xF);
		putnibble(*p >> 4 & 0xF);
	}
	for (const char *p = "04B20"; *p; p++)
		putnibble(hexval(*p));
	for (int i = 0; i < 5; i++) {
		int nib = static_cast<int>(size >> 4 * i & 0xF);
		putnibble(nib);
		crc = crcnibble(crc, nib);
	}
	for (const char *p = body; *p; p++)
		crc = crcnibble(crc, hexval(*p)), putnibble(hexval(*p));
	if (argc == 3)
		crc = static_cast<unsigned>(strtoul(argv[2], nullptr, 16));
	for (int i = 0; i < 4; i++)
		putnibble(static_cast<int>(crc >> 4 * i & 0xF));
	if (pending >= 0)
		putnibble(0);
	return fflush(stdout) == 0 ? 0 : 1;
}
