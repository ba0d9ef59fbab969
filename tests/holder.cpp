// holder: what another program may do to a file that vexsum is to fill.
// usage: holder lockf FILE   takes a POSIX write lock on FILE, as lockf does
//        holder fieldlock FILE  takes a POSIX write lock on bytes 13 to 15
//                            alone, where the smallest objects' CRC field lies
//        holder readlock FILE  takes a POSIX read lock on FILE, as a reader may
//        holder lease FILE   takes a read lease on FILE, ignoring the
//                            kernel's call to give it up
//        holder trylockf FILE  status 0 when a POSIX write lock could be had
//                            at once, 3 when another holds the file
// All but the last say "held" on standard output once they hold it, and keep
// it until killed.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

// a POSIX lock of the given type on n bytes from byte at, or to the end when n is 0
static int
posixlock(int fd, short type, off_t at, off_t n)
{
	struct flock range {};
	range.l_type = type;
	range.l_whence = SEEK_SET;
	range.l_start = at;
	range.l_len = n;
	return fcntl(fd, F_SETLK, &range);
}

int
main(int argc, char *argv[])
{
	if (argc != 3) {
		fputs("usage: holder lockf|fieldlock|readlock|lease|trylockf FILE\n", stderr);
		return 2;
	}
	const char *how = argv[1], *path = argv[2];
	bool lease = strcmp(how, "lease") == 0;
	// a lease is only had on a file open for reading alone
	int fd = open(path, lease ? O_RDONLY : O_RDWR);
	if (fd < 0) {
		perror(path);
		return 2;
	}
	int r;
	if (lease) {
		signal(SIGIO, SIG_IGN);
		r = fcntl(fd, F_SETLEASE, F_RDLCK);
	} else if (strcmp(how, "fieldlock") == 0) {
		r = posixlock(fd, F_WRLCK, 13, 3);
	} else if (strcmp(how, "readlock") == 0) {
		r = posixlock(fd, F_RDLCK, 0, 0);
	} else {
		r = lockf(fd, F_TLOCK, 0);
		if (strcmp(how, "trylockf") == 0)
			return r == 0 ? 0 : errno == EAGAIN || errno == EACCES ? 3 : 2;
	}
	if (r != 0) {
		perror(path);
		return 2;
	}
	puts("held");
	fflush(stdout);
	for (;;)
		pause();
}
