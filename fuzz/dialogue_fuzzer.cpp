// The whole dialogue, with the fuzz input typed at its prompts.
#include "stdin_feed.h"

#include <cstdio>
#include <cstdlib>

// The program's main, renamed by the build so the fuzzer can call it.
int runPaymentCalculator();

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    feedStandardInput(data, size);
    // 2 is an answer that could not be read.
    const int status = runPaymentCalculator();
    if (status != 0 && status != 2) {
        std::abort();
    }
    std::fflush(stdout);
    return 0;
}
