// The number reads against the C library's strtod and strtoll, which glibc
// rounds correctly but for one case: an item that reads must be one whole
// number with the same bits, and an item that fails must not be one.
#include "Number_Reading.h"

#include <bit>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void check(bool holds)
{
    if (!holds) {
        __builtin_trap();
    }
}

// The text the read took, white space before it left out.
std::string item(const std::string& text, long consumed)
{
    const std::string taken = text.substr(0, static_cast<size_t>(consumed));
    const size_t start = taken.find_first_not_of(" \t\n\v\f\r");
    return start == std::string::npos ? std::string() : taken.substr(start);
}

template <typename Read> std::string readOnce(const std::string& text, Read read)
{
    std::FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    check(in != nullptr);
    read(in);
    const long consumed = std::ftell(in);
    std::fclose(in);
    return item(text, consumed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0; // fmemopen wants a buffer
    }
    const std::string text(reinterpret_cast<const char*>(data), size);

    double value = 0.0;
    bool read = false;
    const std::string number = readOnce(text, [&](std::FILE* in) { read = readDouble(in, value); });
    check(number.find('\0') == std::string::npos || !read);
    char* end = nullptr;
    const double expected = std::strtod(number.c_str(), &end);
    const bool whole = !number.empty() && end == number.c_str() + number.size();
    check(read == whole);
    // glibc 2.36 rounds a hexadecimal number just above half the least
    // subnormal down to 0 (0x1.00000000000008p-1075); the tests' table pins
    // those, so here hexadecimal numbers below the normal range go unchecked.
    const bool hexadecimal = number.find_first_of("xX") != std::string::npos;
    if (read && !(hexadecimal && std::fabs(expected) < DBL_MIN)) {
        check(value != value ? expected != expected
                             : std::bit_cast<std::uint64_t>(value) == std::bit_cast<std::uint64_t>(expected));
    }

    int integer = 0;
    const std::string digits = readOnce(text, [&](std::FILE* in) { read = readInteger(in, integer); });
    errno = 0;
    const long long wide = std::strtoll(digits.c_str(), &end, 10);
    check(read == (!digits.empty() && end == digits.c_str() + digits.size()));
    if (read) {
        check(integer == (wide > INT_MAX ? INT_MAX : wide < INT_MIN ? INT_MIN : static_cast<int>(wide)));
    }
    return 0;
}
