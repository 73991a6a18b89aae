// Character, line and number reads, in an order the fuzz input chooses, on
// the rest of the input. Each read's promises are checked as it returns.
#include "Console_IO_Utility.h"
#include "stdin_feed.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// The filter skips at most its limit, and returns the character after them.
constexpr long MOST_READ_BY_FILTER = MAX_SKIPPED_CHARACTERS + 1;
constexpr long MOST_STORED = MAX_TEXT_LENGTH;

void check(bool holds)
{
    if (!holds) {
        __builtin_trap();
    }
}

long position()
{
    return std::ftell(stdin);
}

void readCharacter(bool includeSpaces)
{
    const long before = position();
    const int character = clearLeadingCharacters(includeSpaces);
    const long read = position() - before;
    check(character == EOF || (character >= 0 && character <= 255));
    check(read <= MOST_READ_BY_FILTER);
    const bool skippable = character < ' ' || (character == ' ' && !includeSpaces);
    // Only the skip limit returns a character the filter would pass over.
    check(!skippable || character == EOF || read == MOST_READ_BY_FILTER);
}

void readLine(bool viaClearLeading, bool prompted)
{
    // Exactly the size a read may fill, so that any overrun is caught.
    const std::unique_ptr<char[]> text(new char[TEXT_BUFFER_SIZE]);
    const long before = position();
    if (prompted) {
        promptForString("%s%n> ", text.get());
    } else {
        getInputString(text.get(), viaClearLeading);
    }
    const std::size_t length = strnlen(text.get(), TEXT_BUFFER_SIZE);
    check(length <= MOST_STORED);
    check(std::memchr(text.get(), '\n', length) == nullptr);
    check(position() - before <= MOST_READ_BY_FILTER + MOST_STORED);
}

// A failed read's text fits its buffer and holds no newline, which the read
// consumes with the rest of the line.
void readNumberChecked(bool integer)
{
    const std::unique_ptr<char[]> text(new char[TEXT_BUFFER_SIZE]);
    double value = 0;
    int count = 0;
    const bool read = integer ? promptForIntegerChecked("%d: ", count, text.get())
                              : promptForDoubleChecked("%f: ", value, text.get());
    if (!read) {
        const std::size_t length = strnlen(text.get(), TEXT_BUFFER_SIZE);
        check(length <= MOST_STORED);
        check(std::memchr(text.get(), '\n', length) == nullptr);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::vector<std::uint8_t> steps
        = provider.ConsumeBytes<std::uint8_t>(provider.ConsumeIntegralInRange<std::size_t>(0, 16));
    const std::vector<std::uint8_t> input = provider.ConsumeRemainingBytes<std::uint8_t>();
    feedStandardInput(input.data(), input.size());

    for (const std::uint8_t step : steps) {
        switch (step % 12) {
        case 0:
            readCharacter(false);
            break;
        case 1:
            readCharacter(true);
            break;
        case 2:
            static_cast<void>(getChar());
            break;
        case 3:
            static_cast<void>(getCharFiltered(true));
            break;
        case 4:
            readLine(false, false);
            break;
        case 5:
            readLine(true, false);
            break;
        case 6:
            readLine(false, true);
            break;
        case 7:
            static_cast<void>(promptForCharacter("%d? "));
            break;
        case 9:
            readNumberChecked(step % 2 == 0);
            break;
        case 10: {
            const int end = clearRestOfLine();
            check(end == '\n' || end == EOF);
            break;
        }
        default:
            static_cast<void>(promptForDouble("%f: "));
            static_cast<void>(promptForInteger("%n: "));
            break;
        }
    }
    std::fflush(stdout);
    return 0;
}
