// What vexsum needs of a POSIX system beyond the standard streams
// (Linux, macOS, the BSDs); windows.cpp is its counterpart.
#include <cerrno>
#include <csignal>

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
keepopen(int fd)
{
	if (fcntl(fd, F_GETFD) == -1 && open("/", rootflags) != fd)
		ioerror("/");
}

void
keepstreams()
{
	keepopen(STDIN_FILENO);
	keepopen(STDOUT_FILENO);
	keepopen(STDERR_FILENO);
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

// Only a file that holds still is opened for update: a pipe, FIFO, socket,
// terminal or other character device may never end while we hold it open,
// or give other bytes on a second read, so it is refused before a byte is read
FILE *
openlib(const char *path)
{
	FILE *f = fopen(path, "r+b");
	if (!f)
		return nullptr;
	struct stat st {};
	int why = fstat(fileno(f), &st) != 0                    ? errno
	          : S_ISREG(st.st_mode) || S_ISBLK(st.st_mode) ? 0
	                                                        : ESPIPE;
	if (why != 0) {
		fclose(f);
		errno = why;
		return nullptr;
	}
	return f;
}

void
puterr(const char *s)
{
	fputs(s, stderr);
}

int
trylock(FILE *f)
{
	int r;
	while ((r = flock(fileno(f), LOCK_EX | LOCK_NB)) != 0 && errno == EINTR)
		;
	if (r == 0)
		return 0;
	if (errno == EWOULDBLOCK)
		return 1;
	// a file system without locks (some network mounts) still gets its CRC
	return errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOTSUP || errno == EINVAL ? 0 : -1;
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
	// last, right before the write: a file cut meanwhile must not grow back
	struct stat st {};
	if (fstat(fd, &st) != 0)
		return -1;
	if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) < end) {
		errno = EIO;
		return -1;
	}
	return 0;
}
