// The CRC steps over the largest body: nibble by nibble, byte by byte from the
// table, sliced sixteen bytes at a time, and folded by carry-less multiplies.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "libobj.h"

static std::vector<unsigned char>
body()
{
	std::mt19937 rng(1);
	std::vector<unsigned char> b(524283);
	for (auto &c : b)
		c = static_cast<unsigned char>(rng());
	return b;
}

static void
nibblestep(benchmark::State &state)
{
	std::vector<unsigned char> b = body();
	for (auto _ : state) {
		unsigned crc = 0;
		for (unsigned char c : b)
			crc = crcnibble(crcnibble(crc, c & 0xF), c >> 4);
		benchmark::DoNotOptimize(crc);
	}
	state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * b.size()));
}

// pieces shorter than a slice take the plain table step
static void
bytestep(benchmark::State &state)
{
	std::vector<unsigned char> b = body();
	for (auto _ : state) {
		unsigned crc = 0;
		for (size_t i = 0; i < b.size(); i += 15)
			crc = crcsliced(crc, &b[i], std::min<size_t>(15, b.size() - i));
		benchmark::DoNotOptimize(crc);
	}
	state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * b.size()));
}

static void
slicedstep(benchmark::State &state)
{
	std::vector<unsigned char> b = body();
	for (auto _ : state)
		benchmark::DoNotOptimize(crcsliced(0, b.data(), b.size()));
	state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * b.size()));
}

static void
foldstep(benchmark::State &state)
{
	if (!havefold()) {
		state.SkipWithError("this CPU has no carry-less multiply");
		return;
	}
	std::vector<unsigned char> b = body();
	for (auto _ : state)
		benchmark::DoNotOptimize(crcfold(0, b.data(), b.size()));
	state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * b.size()));
}

BENCHMARK(nibblestep);
BENCHMARK(bytestep);
BENCHMARK(slicedstep);
BENCHMARK(foldstep);
BENCHMARK_MAIN();
