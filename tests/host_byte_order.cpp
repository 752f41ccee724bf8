// Prints the byte order it was built for, which only a host of that order
// runs: for a run under an emulator to prove where it ran.
#include <bit>
#include <cstdio>

int main() { std::puts(std::endian::native == std::endian::big ? "big" : "little"); }
