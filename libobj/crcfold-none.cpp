// No fold: a CPU without a carry-less multiply (or a build with VEXSUM_FOLD
// off, to test the tables alone on one that has it) takes the tables.
#include "libobj.h"

unsigned
crcfold(unsigned crc, const unsigned char *p, size_t n)
{
	return crcsliced(crc, p, n);
}

bool
havefold()
{
	return false;
}
