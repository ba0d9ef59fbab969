// interleave: times commands in turn, round after round, so that whatever
// else the machine does falls on all of them alike, and prints each one's
// median wall time and its ratio to the last command's. The first tenth of
// the rounds warms up and is not counted. Output goes to /dev/null.
// usage: interleave ROUNDS -- COMMAND [ARGUMENT...] [-- COMMAND [ARGUMENT...]]...
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

static double
now()
{
	timespec t;
	clock_gettime(CLOCK_MONOTONIC, &t);
	return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

static double
runonce(char **argv)
{
	posix_spawn_file_actions_t fa;
	posix_spawn_file_actions_init(&fa);
	posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
	posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
	pid_t pid;
	int ws;
	double start = now();
	if (posix_spawnp(&pid, argv[0], &fa, nullptr, argv, environ) != 0 || waitpid(pid, &ws, 0) != pid) {
		perror(argv[0]);
		exit(2);
	}
	double took = now() - start;
	posix_spawn_file_actions_destroy(&fa);
	if (!WIFEXITED(ws) || WEXITSTATUS(ws) != 0) {
		fprintf(stderr, "interleave: %s failed\n", argv[0]);
		exit(2);
	}
	return took;
}

// a command's name: the program, or for sh -c the last word of its script
static const char *
label(char **argv)
{
	const char *name = argv[0];
	if (strcmp(name, "sh") == 0 && argv[1] && argv[2])
		name = argv[2];
	const char *space = strrchr(name, ' ');
	return space ? space + 1 : name;
}

int
main(int argc, char *argv[])
{
	int rounds = argc > 2 ? atoi(argv[1]) : 0;
	std::vector<char **> commands;
	for (int i = 2; i < argc; i++)
		if (strcmp(argv[i], "--") == 0) {
			argv[i] = nullptr; // ends the command before it
			if (i + 1 < argc)
				commands.push_back(&argv[i + 1]);
		}
	if (rounds < 1 || commands.empty()) {
		fputs("usage: interleave ROUNDS -- COMMAND [ARGUMENT...] [-- COMMAND [ARGUMENT...]]...\n", stderr);
		return 2;
	}
	std::vector<std::vector<double>> times(commands.size());
	for (int r = 0; r < rounds + rounds / 10; r++)
		for (size_t c = 0; c < commands.size(); c++) {
			double t = runonce(commands[c]);
			if (r >= rounds / 10)
				times[c].push_back(t);
		}
	std::vector<double> medians;
	for (auto &t : times) {
		std::sort(t.begin(), t.end());
		medians.push_back(t[t.size() / 2]);
	}
	for (size_t c = 0; c < commands.size(); c++)
		printf("%-36s median %9.3f ms  %.2f of the last\n", label(commands[c]), medians[c] * 1e3,
		       medians[c] / medians.back());
	return 0;
}
