// What vexsum needs of a POSIX system beyond the standard streams; built and
// tested on Linux only, though it keeps to POSIX outside its Linux blocks.
// windows.cpp is its counterpart.
#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "libobj.h"

// A closed standard stream would lend its number to the library file, and a
// notice or the report would then be written into the file itself. The root
// folder takes its place: it is there in every container, even one without
// /dev/null, and a write to it fails, so a report to a closed standard
// output still fails as it should. Linux opens it as a bare path, which
// needs no right to read it; elsewhere it must be readable.
#ifdef O_PATH
static const int rootflags = O_PATH | O_DIRECTORY;
#else
static const int rootflags = O_RDONLY | O_DIRECTORY;
#endif

static void
keepopen(int fd, const char *name)
{
	if (fcntl(fd, F_GETFD) == -1 && open("/", rootflags) != fd)
		ioerror(name);
}

void
keepstreams()
{
	keepopen(STDIN_FILENO, "standard input");
	keepopen(STDOUT_FILENO, "standard output");
	keepopen(STDERR_FILENO, "standard error");
}

// a file-size limit is checked before the write; should one still bite (on
// the file, or on standard output sent to a file), it is a failed write to
// report, not a silent kill
void
nosizesignal()
{
	signal(SIGXFSZ, SIG_IGN);
}

// the system gives the arguments as they are: bytes, usually UTF-8
void
getargs(int *, char ***)
{
}

// the same file: a file held open keeps its number, so no other can take it
static bool
samefile(const struct stat &a, const struct stat &b)
{
	return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// a failed open's descriptor closed, keeping the error
static int
closefail(int fd)
{
	int why = errno;
	close(fd);
	errno = why;
	return -1;
}

// The open makes no terminal ours and does not wait out another's lease: it
// fails with EWOULDBLOCK instead, and the caller waits as for a lock (reads
// and writes of a regular file pay no heed to O_NONBLOCK)
static const int updateflags = O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// path opened with flags, kept only when that descriptor is the regular file
// that the look by name found: the name may have gone to another file, or to
// a FIFO or device, meanwhile
static int
openfound(const char *path, int flags, const struct stat &named)
{
	int fd = open(path, flags);
	if (fd < 0)
		return -1;
	struct stat held {};
	if (fstat(fd, &held) != 0)
		return closefail(fd);
	if (!S_ISREG(held.st_mode) || !samefile(held, named)) {
		close(fd);
		goneerror(path);
	}
	return fd;
}

// Linux holds the file that the look found by a bare path (O_PATH), which
// opens nothing, so a FIFO or device swapped in is never opened: the
// descriptor's own type decides, and the file is reopened for update through
// it, where no rename can reach. Where /proc cannot reopen it (there is none,
// as in a bare container or chroot, or it is not the system's, as in the
// page's own file system) the path is opened again and checked the same way,
// and the system gives its own reason for a refusal; only then may a FIFO
// swapped in at that moment have its waiting peer let go, though it is still
// refused before anything is read. Another's lease refuses either open.
static int
openupdate(const char *path, const struct stat &named)
{
#ifdef O_PATH
	int look = openfound(path, O_PATH | O_CLOEXEC, named);
	if (look < 0)
		return -1;
	char held[32];
	snprintf(held, sizeof held, "/proc/self/fd/%d", look);
	int fd = open(held, updateflags);
	int why = errno;
	close(look);
	if (fd >= 0 || why == EWOULDBLOCK) {
		errno = why;
		return fd;
	}
#endif
	return openfound(path, updateflags, named);
}

// Only a regular file is opened for update. A pipe, FIFO, socket, terminal
// or device may never end while we hold it, or give other bytes on a second
// read, and opening one may itself act (a FIFO's waiting peer let go, a new
// terminal made), so its type is looked up by name and it is never opened.
FILE *
openlib(const char *path)
{
	struct stat named {};
	if (stat(path, &named) != 0)
		return nullptr;
	if (!S_ISREG(named.st_mode)) {
		errno = S_ISDIR(named.st_mode) ? EISDIR : ESPIPE;
		return nullptr;
	}
	int fd = openupdate(path, named);
	if (fd < 0)
		return nullptr;
	FILE *f = fdopen(fd, "r+b");
	if (!f)
		closefail(fd);
	return f;
}

void
puterr(const char *s)
{
	fputs(s, stderr);
}

// the outcome of a lock tried without waiting: 0 taken, 1 held by another, -1 failed
static int
lockoutcome(int r)
{
	if (r == 0)
		return 0;
	if (errno == EWOULDBLOCK || errno == EAGAIN || errno == EACCES) {
		errno = EWOULDBLOCK;
		return 1;
	}
	// a file system without locks (some network mounts) still gets its CRC
	return errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOTSUP || errno == EINVAL ? 0 : -1;
}

// A write lock on the whole file, owned by the open file rather than the
// process, which the fcntl and lockf locks of other programs meet both ways;
// where there are none (not Linux, or before Linux 3.15), only flock is seen
static int
ownerlock(int fd)
{
#ifdef F_OFD_SETLK
	struct flock whole {};
	whole.l_type = F_WRLCK;
	whole.l_whence = SEEK_SET; // from byte 0, to the end however far it grows
	return fcntl(fd, F_OFD_SETLK, &whole);
#else
	(void)fd;
	return 0;
#endif
}

// Both kinds of lock, or neither: a run that waits holds nothing meanwhile
int
trylock(FILE *f)
{
	int fd = fileno(f);
	int held = lockoutcome(flock(fd, LOCK_EX | LOCK_NB));
	if (held == 0 && (held = lockoutcome(ownerlock(fd))) != 0) {
		int why = errno;
		flock(fd, LOCK_UN);
		errno = why;
	}
	return held;
}

void
pausefor(unsigned ms)
{
	struct timespec t {
		static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000
	};
	while (nanosleep(&t, &t) != 0 && errno == EINTR)
		;
}

int
getat(FILE *f, unsigned char *buf, size_t n, std::int64_t at)
{
	return static_cast<int>(pread(fileno(f), buf, n, static_cast<off_t>(at)));
}

int
putat(FILE *f, const unsigned char *buf, size_t n, std::int64_t at)
{
	return static_cast<int>(pwrite(fileno(f), buf, n, static_cast<off_t>(at)));
}

// blocks for the field now, on Linux, so that a full disk refuses it whole;
// elsewhere, or on a file system that cannot, a short write has the old bytes
// put back instead
static int
allocate(int fd, std::int64_t at, size_t n)
{
#ifdef __linux__
	if (fallocate(fd, FALLOC_FL_KEEP_SIZE, static_cast<off_t>(at), static_cast<off_t>(n)) != 0 &&
	    errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL)
		return -1;
#else
	(void)fd, (void)at, (void)n;
#endif
	return 0;
}

int
reservefield(FILE *f, std::int64_t at, size_t n)
{
	int fd = fileno(f);
	auto end = static_cast<std::uint64_t>(at) + n;
	struct rlimit lim {};
	if (getrlimit(RLIMIT_FSIZE, &lim) == 0 && lim.rlim_cur != RLIM_INFINITY && end > lim.rlim_cur) {
		errno = EFBIG;
		return -1;
	}
	if (allocate(fd, at, n) != 0)
		return -1;
	// last: a file cut meanwhile must not grow back
	struct stat held {};
	if (fstat(fd, &held) != 0)
		return -1;
	if (static_cast<std::uint64_t>(held.st_size) < end) {
		errno = EIO;
		return -1;
	}
	return 0;
}

int
namesfile(FILE *f, const char *path)
{
	struct stat held {}, named {};
	if (fstat(fileno(f), &held) != 0)
		return -1;
	if (stat(path, &named) != 0)
		return errno == ENOENT || errno == ENOTDIR ? 1 : -1;
	return samefile(held, named) ? 0 : 1;
}
