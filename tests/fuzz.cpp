// libFuzzer harness for the processing code: each input is written to a file
// and checked, walked and filled there. A refused file must come back
// unchanged; an accepted one may differ only inside its CRC field, which must
// then hold the CRC worked out here bit by bit from the input, and in the pad
// half-byte when the object ends the file.
// The run's early exits are caught by wrapping exit (link with --wrap=exit).
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <unistd.h>

#include "libobj.h"

static jmp_buf back;
static bool inrun;
static int exitstatus;
static char path[] = "/dev/shm/vexsum-fuzz-XXXXXX"; // memory-backed: more runs a second

extern "C" [[noreturn]] void __real_exit(int);

extern "C" [[noreturn]] void
__wrap_exit(int status)
{
	if (!inrun)
		__real_exit(status);
	exitstatus = status;
	longjmp(back, 1);
}

extern "C" int
LLVMFuzzerInitialize(int *, char ***)
{
	int fd = mkstemp(path);
	if (fd < 0) {
		memcpy(path, "/tmp/vexsum-fuzz-XXXXXX", sizeof "/tmp/vexsum-fuzz-XXXXXX");
		fd = mkstemp(path);
	}
	if (fd < 0)
		abort();
	close(fd);
	atexit([] { unlink(path); });
	return 0;
}

static int
nib(const unsigned char *b, size_t k)
{
	return b[k / 2] >> (k % 2 * 4) & 0xF;
}

// the object's CRC from first principles: the reflected CCITT polynomial
// 0x8408, one bit at a time, over nibbles from..to-1 of the input
static unsigned
bitwisecrc(const unsigned char *b, size_t from, size_t to)
{
	unsigned crc = 0;
	for (size_t k = from; k < to; k++) {
		crc ^= static_cast<unsigned>(nib(b, k));
		for (int bit = 0; bit < 4; bit++)
			crc = crc & 1 ? crc >> 1 ^ 0x8408 : crc >> 1;
	}
	return crc;
}

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	FILE *f = fopen(path, "wb");
	if (!f || fwrite(data, 1, size, f) != size || fclose(f) != 0)
		abort();

	libname = path;
	libfile = fopen(path, "r+b");
	if (!libfile)
		abort();
	lastbyte = highnext = eofseen = 0;
	bool accepted = false;
	exitstatus = -1;
	inrun = true;
	if (setjmp(back) == 0) {
		checkheader();
		walkobject();
		fillcrc();
		accepted = true;
	}
	inrun = false;
	if (libfile)
		fclose(libfile);
	libfile = nullptr;

	std::vector<unsigned char> after;
	f = fopen(path, "rb");
	for (int c; f && (c = fgetc(f)) != EOF;)
		after.push_back(static_cast<unsigned char>(c));
	if (!f || after.size() != size)
		abort();
	fclose(f);

	if (!accepted) {
		// only a verdict on the content may end a run on a sound file
		if (exitstatus != 0 || (size > 0 && memcmp(after.data(), data, size) != 0))
			abort();
		return 0;
	}
	size_t end = 21 + libsize; // nibbles through the CRC field
	unsigned crc = bitwisecrc(data, 21, end - 4);
	for (size_t k = 0; k < 2 * size; k++) {
		bool infield = k >= end - 4 && k < end;
		bool pad = k == end && end % 2 && size == (end + 1) / 2;
		int want = infield ? static_cast<int>(crc >> 4 * (k - end + 4) & 0xF)
		           : pad  ? 0
		                  : nib(data, k);
		if (nib(after.data(), k) != want)
			abort();
	}
	return 0;
}
