// Generated files through the built vexsum, each checked against the tests'
// model of the file layout (model.h): the CRC is taken one bit at a time
// over the reflected polynomial 0x8408, and the layout is read by position.
// usage: property VEXSUM VERSION [COUNT [SEED [crlf]]]
// The same seed gives the same files: seed 1 when none is given, a fresh
// one for SEED -, printed. A failure prints the command that replays its
// case alone (with COUNT 1). crlf: the program ends its lines with CR LF.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model.h"

struct outcome {
	int status;
	std::string out, err;
	bytes after;
};

static const char notice[] = "Not a library object, ignoring CRC fill.\n";

// what vexsum must do with this file, read straight from the layout
static outcome
model(const bytes &in, const std::string &banner)
{
	outcome o{0, "", banner + notice, in};
	size_t have = in.size() * 2; // nibbles in the file
	if (have < 26)
		return o;
	if (memcmp(in.data(), "KALMIR-", 7) != 0 || nibble(in, 16) != 0 || nibble(in, 17) != 4 ||
	    nibble(in, 18) != 0xB || nibble(in, 19) != 2 || nibble(in, 20) != 0)
		return o;
	unsigned long size = sizefield(in);
	size_t end = 21 + size; // nibbles through the CRC field
	if (size < 10 || end > have)
		return o;
	unsigned crc = objectcrc(in), stored = 0;
	for (size_t i = 0; i < 4; i++)
		stored |= static_cast<unsigned>(nibble(in, end - 4 + i)) << 4 * i;
	setcrc(o.after, crc);
	if (end % 2 && in.size() == (end + 1) / 2) // the pad half-byte ends the file
		setnibble(o.after, end, 0);
	char report[64];
	snprintf(report, sizeof report, "\tLibrary CRC:\t%04X\n\tTrue CRC:\t%04X\n", stored, crc);
	o.out = report;
	o.err = banner;
	return o;
}

// an object of this size, random where the layout leaves it free: the
// body, the stored CRC, the eighth header byte and the pad half-byte
static bytes
randomobject(std::mt19937_64 &rng, unsigned long size)
{
	std::vector<int> body(size - 9);
	for (int &nib : body)
		nib = static_cast<int>(rng() & 0xF);
	bytes b = object(body, static_cast<unsigned>(rng() & 0xFFFF));
	b[7] = static_cast<unsigned char>(rng());
	if ((21 + size) % 2)
		setnibble(b, 21 + size, static_cast<int>(rng() & 0xF));
	return b;
}

// one case: a kind of file chosen by the seed
static bytes
generate(std::mt19937_64 &rng)
{
	auto pick = [&](unsigned long n) { return static_cast<unsigned long>(rng() % n); };
	unsigned long size;
	switch (pick(20)) {
	case 0: size = 0xFFFFF - pick(3); break;                  // the largest
	case 1: size = 10 + pick(300000); break;                  // large, across read chunks
	case 2: size = 32768 * (1 + pick(31)) + 9 - 2 + pick(5); break; // body near 16 KiB steps
	default: size = 10 + pick(pick(2) ? 40 : 3000); break;
	}
	bytes b = randomobject(rng, size);
	switch (pick(10)) {
	case 0: // cut short anywhere
		b.resize(pick(b.size()));
		break;
	case 1: // cut at a field boundary, give or take a byte
	{
		const size_t cuts[] = {10, 13, 13 + (size - 9) / 2, b.size() - 1};
		b.resize(std::min(b.size() - 1, cuts[pick(4)] + static_cast<size_t>(pick(3)) - 1));
		break;
	}
	case 2: // one compared header or prologue nibble wrong
	{
		size_t k = pick(19);
		k += k >= 14 ? 2 : 0;
		setnibble(b, k, (nibble(b, k) + 1 + static_cast<int>(pick(15))) & 0xF);
		break;
	}
	case 3: // a size too small
		for (size_t i = 0; i < 5; i++)
			setnibble(b, 21 + i, i == 0 ? static_cast<int>(pick(10)) : 0);
		break;
	case 4: // junk of a short length
		b.resize(pick(40));
		for (auto &c : b)
			c = static_cast<unsigned char>(rng());
		break;
	case 5:
	case 6: // data after the object
		for (unsigned long n = 1 + pick(pick(2) ? 3 : 5000); n > 0; n--)
			b.push_back(static_cast<unsigned char>(rng()));
		break;
	default: // the object alone, with a random eighth byte, stored CRC and pad
		break;
	}
	return b;
}

static std::string
crlfed(const std::string &s)
{
	std::string t;
	for (char c : s)
		t += c == '\n' ? "\r\n" : std::string(1, c);
	return t;
}

static bytes
slurp(const std::string &path)
{
	bytes b;
	FILE *f = fopen(path.c_str(), "rb");
	if (!f) {
		perror(path.c_str());
		exit(2);
	}
	for (int c; (c = fgetc(f)) != EOF;)
		b.push_back(static_cast<unsigned char>(c));
	fclose(f);
	return b;
}

static void
spill(const std::string &path, const bytes &b)
{
	FILE *f = fopen(path.c_str(), "wb");
	if (!f || fwrite(b.data(), 1, b.size(), f) != b.size() || fclose(f) != 0) {
		perror(path.c_str());
		exit(2);
	}
}

static outcome
run(const char *vexsum, const std::string &dir, const bytes &in)
{
	std::string file = dir + "/case.lib", out = dir + "/out", err = dir + "/err";
	spill(file, in);
	posix_spawn_file_actions_t fa;
	posix_spawn_file_actions_init(&fa);
	posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
	posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
	char *argv[] = {const_cast<char *>(vexsum), const_cast<char *>(file.c_str()), nullptr};
	pid_t pid;
	int ws;
	if (posix_spawn(&pid, vexsum, &fa, nullptr, argv, environ) != 0 || waitpid(pid, &ws, 0) != pid) {
		perror(vexsum);
		exit(2);
	}
	posix_spawn_file_actions_destroy(&fa);
	bytes o = slurp(out), e = slurp(err);
	return {WIFEXITED(ws) ? WEXITSTATUS(ws) : 128 + WTERMSIG(ws), std::string(o.begin(), o.end()),
		std::string(e.begin(), e.end()), slurp(file)};
}

int
main(int argc, char *argv[])
{
	if (argc < 3 || argc > 6) {
		fputs("usage: property VEXSUM VERSION [COUNT [SEED [crlf]]]\n", stderr);
		return 2;
	}
	const char *vexsum = argv[1];
	std::string banner = std::string("vexsum v") + argv[2] + " by Zarvik\n";
	unsigned long count = argc > 3 ? strtoul(argv[3], nullptr, 10) : 2000;
	unsigned long seed = argc <= 4                  ? 1
	                     : strcmp(argv[4], "-") != 0 ? strtoul(argv[4], nullptr, 10)
	                                                 : std::random_device{}();
	bool crlf = argc > 5 && strcmp(argv[5], "crlf") == 0;
	char dir[] = "/tmp/vexsum-property-XXXXXX";
	if (!mkdtemp(dir)) {
		perror("mkdtemp");
		return 2;
	}
	unsigned long pass = 0, fail = 0, filled = 0;
	for (unsigned long i = 0; i < count && fail < 5; i++) {
		std::mt19937_64 rng(seed + i);
		bytes in = generate(rng);
		outcome want = model(in, banner), got = run(vexsum, dir, in);
		if (crlf)
			want.out = crlfed(want.out), want.err = crlfed(want.err);
		filled += !want.out.empty();
		if (got.status == want.status && got.out == want.out && got.err == want.err && got.after == want.after) {
			pass++;
			continue;
		}
		fail++;
		printf("FAIL seed %lu (%zu bytes): status %d want %d%s%s%s\n", seed + i, in.size(), got.status,
		       want.status, got.out == want.out ? "" : ", stdout differs", got.err == want.err ? "" : ", stderr differs",
		       got.after == want.after ? "" : ", file bytes differ");
		printf("  replay: %s %s %s 1 %lu%s\n", argv[0], argv[1], argv[2], seed + i, crlf ? " crlf" : "");
	}
	std::string rm = std::string("rm -rf ") + dir;
	if (system(rm.c_str()) != 0)
		fprintf(stderr, "property: could not remove %s\n", dir);
	// the harness's closing line and status (tests/harness.sh), the seed before it
	printf("property: seed %lu, %lu of the files filled\n", seed, filled);
	printf("property: %lu passed, %lu failed\n", pass, fail);
	return fail > 0 || pass == 0 ? 1 : 0;
}
