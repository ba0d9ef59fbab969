// errtext: the C library's own text for each error code named, one line
// each as NAME|TEXT, so that the tests expect the wording of the library
// the program was built with, not one system's.
// usage: errtext NAME...   (a name this system has no code for is left out)
#include <cerrno>
#include <cstdio>
#include <cstring>

static const struct {
	const char *name;
	int code;
} codes[] = {
	{"EACCES", EACCES}, {"EBADF", EBADF},   {"EFBIG", EFBIG},   {"EINVAL", EINVAL}, {"EIO", EIO},
	{"EISDIR", EISDIR}, {"ENOENT", ENOENT}, {"ENOSPC", ENOSPC}, {"ESPIPE", ESPIPE}, {"EAGAIN", EAGAIN},
	{"EWOULDBLOCK", EWOULDBLOCK}, {"EINTR", EINTR},
#ifdef EDQUOT // not in Windows' runtime, which has no quotas to exceed
	{"EDQUOT", EDQUOT},
#endif
};

int
main(int argc, char *argv[])
{
	for (int i = 1; i < argc; i++) {
		int code = -1;
		for (const auto &c : codes)
			if (strcmp(c.name, argv[i]) == 0)
				code = c.code;
		if (code < 0) // this system has no such code: no text to expect
			continue;
		printf("%s|%s\n", argv[i], strerror(code));
	}
	return 0;
}
