// The object's CRC: the reflected CCITT polynomial 0x8408, four bits at a time.
#include "libobj.h"

unsigned
crcnibble(unsigned crc, int nib)
{
	return (crc >> 4) ^ (((crc ^ static_cast<unsigned>(nib)) & 0xF) * 0x1081);
}
