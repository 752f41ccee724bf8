// Prints the byte order of the host that runs it, as a stored value's first
// byte shows it: for a run under an emulator to prove where it ran.
#include <cstdint>
#include <cstdio>
#include <cstring>

int main() {
    const std::uint16_t one = 1;
    unsigned char first = 0;
    std::memcpy(&first, &one, 1);
    std::puts(first == 1 ? "little" : "big");
}
