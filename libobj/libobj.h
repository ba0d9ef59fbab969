// vexsum's library object processing: the nibble reader, the object layout
// and CRC, and the CRC field rewrite. Everything is process-wide: one file per run.
#ifndef LIBOBJ_H
#define LIBOBJ_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

// reader state
extern FILE *libfile;      // the library file, opened "r+b" by the driver
extern const char *libname; // its path, for error lines
extern int lastbyte;       // last byte read: 0..255, or EOF
extern int highnext;       // 1 when the high half of lastbyte is the next nibble
extern int eofseen;        // set once a read meets end of file, never cleared

int getnibble();
void getbytes(unsigned char *buf, size_t n);
constexpr size_t bodychunk = 16384; // body bytes the walk reads at a time

// signature of the 8-byte header and the library prologue, one hex digit per nibble
extern const char firstones[];
extern const char firstmask[];
extern const int firstlen;

// walk results
extern std::uint32_t libsize; // 20 bits used
extern unsigned storedcrc;
extern unsigned truecrc;

// one nibble more: the reflected CCITT polynomial 0x8408, four bits at a time
constexpr unsigned
crcnibble(unsigned crc, int nib)
{
	return (crc >> 4) ^ (((crc ^ static_cast<unsigned>(nib)) & 0xF) * 0x1081);
}
// whole bytes more, each taken low half first: by the fastest way the CPU has
unsigned crcbytes(unsigned crc, const unsigned char *p, size_t n);
unsigned crcsliced(unsigned crc, const unsigned char *p, size_t n); // by tables, anywhere
unsigned crcfold(unsigned crc, const unsigned char *p, size_t n);   // by carry-less multiplies
bool havefold();                                                    // whether this CPU can fold
void checkheader();
void walkobject();
void fillcrc();

// where systems differ (posix.cpp, windows.cpp)
void guardprocess();       // standard streams kept open, size-limit signal ignored
// positioned reads and writes on the stream's file, past its buffer: a count, or -1
long getat(FILE *f, unsigned char *buf, size_t n, long at);
long putat(FILE *f, const unsigned char *buf, size_t n, long at);
void setbinary(FILE *f);   // no line-end translation: Windows writes LF as CR LF

// the two ways a run ends early
[[noreturn]] void notlibrary();
[[noreturn]] void ioerror(const char *name);

#endif
