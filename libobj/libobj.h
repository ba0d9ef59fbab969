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

// one nibble more: the CCITT polynomial (0x1021, 0x8408 reflected), four bits
// at a time; 0x1081 is what the nibble 1 adds, and any nibble i adds i·0x1081,
// whose three copies of i (bits 0, 7, 12) never overlap: a table in one product
constexpr unsigned
crcnibble(unsigned crc, int nib)
{
	return (crc >> 4) ^ (((crc ^ static_cast<unsigned>(nib)) & 0xF) * 0x1081);
}
// whole bytes more, each taken low half first, by tables
unsigned crcbytes(unsigned crc, const unsigned char *p, size_t n);
void checkheader();
void walkobject();
void fillcrc();

// libfile opened and locked: runs on one file take turns, but another program
// holding the file stops a run only for a while (lock.cpp)
constexpr unsigned lockwait = 10000; // milliseconds in all
void openlocked(const char *path);

// where systems differ (posix.cpp, windows.cpp); file positions are 64-bit everywhere
void getargs(int *argc, char ***argv); // the arguments: UTF-8 on Windows, bytes as given elsewhere
void keepstreams();        // closed standard streams stood in for, never lent to the file
void nosizesignal();       // a file-size limit met fails a write, and kills nothing
FILE *openlib(const char *path); // "r+b", only a regular file; EWOULDBLOCK: another's lease
void puterr(const char *s); // to standard error, shown as it is on a console too
int trylock(FILE *f);      // 0 taken (or no locks here), 1 held by another, -1: errno
void pausefor(unsigned ms);
// positioned reads and writes on the stream's file, past its buffer: a count, or -1
int getat(FILE *f, unsigned char *buf, size_t n, std::int64_t at);
int putat(FILE *f, const unsigned char *buf, size_t n, std::int64_t at);
// checks that bytes at..at+n-1, which the file still holds, lie within any
// file-size limit, and allocates their blocks where the system and the file
// system can (Linux), so that a full disk refuses them whole; elsewhere a
// full disk may still stop the write part way. 0, or -1 and errno
int reservefield(FILE *f, std::int64_t at, size_t n);
// whether path still names the open file: 0; 1 when it names another file
// or none; or -1 and errno
int namesfile(FILE *f, const char *path);

// the ways a run ends early
[[noreturn]] void notlibrary();
[[noreturn]] void ioerror(const char *name);
[[noreturn]] void tornerror(const char *name, int err);
[[noreturn]] void goneerror(const char *name);
[[noreturn]] void closeerror(const char *name);

#endif
