// libFuzzer harness for the processing code: each input is written to a file
// and checked, walked and filled there. A refused file must come back
// unchanged; an accepted one may differ only inside its CRC field, which must
// then hold the CRC of the tests' model, and in the pad half-byte when the
// object ends the file. The run's ends come back here (ends.cpp).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "ends.h"
#include "libobj.h"
#include "model.h"

static char path[] = "/dev/shm/vexsum-fuzz-XXXXXX"; // memory-backed: more runs a second

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
	arm();
	if (setjmp(endback) == 0) {
		checkheader();
		walkobject();
		fillcrc();
	}
	int how = ended();
	if (libfile)
		fclose(libfile);
	libfile = nullptr;

	bytes in(data, data + size), after;
	f = fopen(path, "rb");
	for (int c; f && (c = fgetc(f)) != EOF;)
		after.push_back(static_cast<unsigned char>(c));
	if (!f)
		abort();
	fclose(f);

	if (how != endaccepted) {
		// only a verdict on the content may end a run on a sound file
		if (how != endnotlibrary || after != in)
			abort();
		return 0;
	}
	size_t end = 21 + sizefield(in); // nibbles through the CRC field
	if (sizefield(in) < 10 || end > 2 * size)
		abort(); // accepted what holds no whole object
	bytes want = in;
	setcrc(want, objectcrc(in));
	if (end % 2 && size == (end + 1) / 2)
		setnibble(want, end, 0);
	if (after != want)
		abort();
	return 0;
}
