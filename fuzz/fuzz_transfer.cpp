// libFuzzer target for the transfer: random arrivals of bytes on the line,
// for each firmware, on a fake clock. The routine must never crash, never
// hang, never leave the port open, and never load data unless a whole,
// plausible image came after its command.

#include "TransferTape.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static kvl::Store store;
    if (const char *broken = kvl::tape::runTape(data, size, store)) {
        std::fprintf(stderr, "transfer rule broken: %s\n", broken);
        std::abort();
    }
    return 0;
}
