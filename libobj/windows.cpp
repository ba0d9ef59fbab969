// What vexsum needs of Windows beyond the standard streams; posix.cpp is
// its counterpart.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <shellapi.h>

#include "libobj.h"

// the arguments as Windows holds them, in UTF-16, and as the program sees them
static wchar_t **wideargv;
static char **utf8argv;

static char *
toutf8(const wchar_t *w)
{
	int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
	auto *s = static_cast<char *>(malloc(n > 0 ? static_cast<size_t>(n) : 1));
	if (!s || n <= 0 || WideCharToMultiByte(CP_UTF8, 0, w, -1, s, n, nullptr, nullptr) != n) {
		free(s);
		return nullptr;
	}
	return s;
}

// the stream's file as Windows holds it
static HANDLE
handleof(FILE *f)
{
	return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
}

static wchar_t *
towide(const char *s)
{
	int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
	auto *w = static_cast<wchar_t *>(malloc((n > 0 ? static_cast<size_t>(n) : 1) * sizeof(wchar_t)));
	if (!w || n <= 0 || MultiByteToWideChar(CP_UTF8, 0, s, -1, w, n) != n) {
		free(w);
		return nullptr;
	}
	return w;
}

// The runtime's narrow arguments pass through the ANSI code page, which
// spoils a path in another script: take them wide, in UTF-8 for the program
void
getargs(int *argc, char ***argv)
{
	int n;
	wideargv = CommandLineToArgvW(GetCommandLineW(), &n);
	if (!wideargv)
		return;
	utf8argv = static_cast<char **>(calloc(static_cast<size_t>(n) + 1, sizeof(char *)));
	for (int i = 0; utf8argv && i < n; i++)
		if (!(utf8argv[i] = toutf8(wideargv[i])))
			return;
	if (utf8argv) {
		*argc = n;
		*argv = utf8argv;
	}
}

// Only a disk file is opened for update: a device (NUL, CON, COM1, and any
// name such as nul.lib that Windows takes for one) or a pipe is refused
// before anything is read. The path as Windows gave it, not a round trip.
FILE *
openlib(const char *path)
{
	wchar_t *wide = nullptr;
	for (int i = 0; utf8argv && utf8argv[i]; i++)
		if (utf8argv[i] == path)
			wide = wideargv[i];
	wchar_t *made = wide ? nullptr : towide(path);
	FILE *f = _wfopen(wide ? wide : made, L"r+b");
	free(made);
	if (f && GetFileType(handleof(f)) != FILE_TYPE_DISK) {
		fclose(f);
		errno = ESPIPE;
		return nullptr;
	}
	return f;
}

// A console shows text in its own code page, which spoils UTF-8: there it
// gets the text in UTF-16, each line ended CR LF; a file or pipe gets the
// UTF-8 bytes
void
puterr(const char *s)
{
	HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
	DWORD mode, done;
	wchar_t *w;
	if (h == INVALID_HANDLE_VALUE || !h || !GetConsoleMode(h, &mode) || !(w = towide(s))) {
		fputs(s, stderr);
		return;
	}
	fflush(stderr);
	for (wchar_t *line = w; *line;) {
		size_t len = wcscspn(line, L"\n");
		WriteConsoleW(h, line, static_cast<DWORD>(len), &done, nullptr);
		line += len;
		if (*line == L'\n') {
			WriteConsoleW(h, L"\r\n", 2, &done, nullptr);
			line++;
		}
	}
	free(w);
}

// The runtime keeps descriptors 0 to 2 for the standard streams even when
// they are closed, so the library file never takes their place
void
keepstreams()
{
}

// Windows has no file-size limit, nor a signal for one
void
nosizesignal()
{
}

int
trylock(FILE *f)
{
	HANDLE h = handleof(f);
	OVERLAPPED from{}; // byte 0 on, as far as a file can reach
	if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &from))
		return 0;
	DWORD why = GetLastError();
	if (why == ERROR_LOCK_VIOLATION) {
		errno = EAGAIN; // the runtime has no text for EWOULDBLOCK; EAGAIN's says the same
		return 1;
	}
	// a file system without locks (some network shares) still gets its CRC
	if (why == ERROR_NOT_SUPPORTED || why == ERROR_INVALID_FUNCTION)
		return 0;
	errno = EACCES;
	return -1;
}

void
pausefor(unsigned ms)
{
	Sleep(ms);
}

// The stream's descriptor, set to byte at, or -1. The stream was opened in
// binary mode, so the descriptor reads and writes bytes as they are; there is
// one caller at a time, so seeking and then transferring is safe.
static int
seekfd(FILE *f, std::int64_t at)
{
	int fd = _fileno(f);

	return _lseeki64(fd, at, SEEK_SET) < 0 ? -1 : fd;
}

int
getat(FILE *f, unsigned char *buf, size_t n, std::int64_t at)
{
	int fd = seekfd(f, at);

	return fd < 0 ? -1 : _read(fd, buf, static_cast<unsigned>(n));
}

int
putat(FILE *f, const unsigned char *buf, size_t n, std::int64_t at)
{
	int fd = seekfd(f, at);

	return fd < 0 ? -1 : _write(fd, buf, static_cast<unsigned>(n));
}

// Windows has no file-size limit to check and allocates on write; what is
// left is that the file still holds the field, checked right before the write
int
reservefield(FILE *f, std::int64_t at, size_t n)
{
	struct _stati64 st {};
	if (_fstati64(_fileno(f), &st) != 0)
		return -1;
	if ((st.st_mode & _S_IFMT) == _S_IFREG && st.st_size < at + static_cast<std::int64_t>(n)) {
		errno = EIO;
		return -1;
	}
	return 0;
}

// The runtime opens the file without delete sharing, so while the run holds
// it the file can be neither renamed over nor removed: the path still names it
int
namesfile(FILE *, const char *)
{
	return 0;
}
