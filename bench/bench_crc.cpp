// Table-driven CRCs against the bit-by-bit reference over a few MB.
// Goal: the table-driven routines at least 5x faster. Prints the ratios.
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "crc.h"

namespace {

template <typename F>
double secondsFor(F &&f, int repeat)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeat; ++i)
        f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / repeat;
}

} // namespace

int main()
{
    const uint32_t size = 4u << 20;  // 4 MiB
    std::vector<uint8_t> data(size);
    std::mt19937 rng(42);
    for (auto &b : data)
        b = uint8_t(rng());

    volatile uint32_t sink = 0;
    const double t16 = secondsFor([&] { sink = sink + crc16Words(data.data(), size); }, 5);
    const double b16 = secondsFor([&] { sink = sink + crc16WordsBitwise(data.data(), size); }, 2);
    const double t32 = secondsFor([&] { sink = sink + crc32Words(data.data(), size); }, 5);
    const double b32 = secondsFor([&] { sink = sink + crc32WordsBitwise(data.data(), size); }, 2);

    const double mb = size / 1e6;
    std::printf("crc16Words   table %8.1f MB/s  bitwise %8.1f MB/s  ratio %.1fx (goal >= 5x)\n",
                mb / t16, mb / b16, b16 / t16);
    std::printf("crc32Words   table %8.1f MB/s  bitwise %8.1f MB/s  ratio %.1fx (goal >= 5x)\n",
                mb / t32, mb / b32, b32 / t32);
    return 0;
}
