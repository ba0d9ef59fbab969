// holder: what another program may do to a file that vexsum is to fill.
// usage: holder lockf FILE   takes a POSIX write lock on FILE, as lockf does
//        holder lease FILE   takes a read lease on FILE, ignoring the
//                            kernel's call to give it up
//        holder trylockf FILE  status 0 when a POSIX write lock could be had
//                            at once, 3 when another holds the file
// The first two say "held" on standard output once they hold it, and keep it
// until killed.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

int
main(int argc, char *argv[])
{
	if (argc != 3) {
		fputs("usage: holder lockf|lease|trylockf FILE\n", stderr);
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
