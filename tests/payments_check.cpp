// Every payment in payments.txt, bit for bit: the correctly rounded values,
// proven independently (scripts/reference-payments). A plain program, so that
// it runs on every build, GoogleTest or not. Prints, per category, the loans
// and the wrong ones.
#include "Monthly_Payment.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr int MOST_CATEGORIES = 32;

struct Tally {
    char name[32];
    int loans;
    int wrong;
};

bool field(const char*& at, const char* end, std::uint64_t& value, int base)
{
    while (at < end && *at == ' ') {
        ++at;
    }
    bool negative = base == 10 && at < end && *at == '-';
    at += negative ? 1 : 0;
    const auto [next, error] = std::from_chars(at, end, value, base);
    at = next;
    value = negative ? ~value + 1 : value;
    return error == std::errc {};
}

} // namespace

int main()
{
    std::FILE* table = std::fopen(PAYMENTS_TABLE, "r");
    if (table == nullptr) {
        std::perror(PAYMENTS_TABLE);
        return 1;
    }
    Tally tallies[MOST_CATEGORIES] {};
    int categories = 0;
    int wrong = 0;
    char line[512];
    while (std::fgets(line, sizeof line, table) != nullptr) {
        if (line[0] == '#') {
            continue;
        }
        const char* at = line;
        const char* end = line + std::strlen(line);
        std::uint64_t amount = 0;
        std::uint64_t rate = 0;
        std::uint64_t months = 0;
        std::uint64_t payment = 0;
        if (!field(at, end, amount, 16) || !field(at, end, rate, 16) || !field(at, end, months, 10)
            || !field(at, end, payment, 16)) {
            std::fprintf(stderr, "unreadable line: %s", line);
            return 1;
        }
        char name[32] = {};
        std::sscanf(at, "%31s", name);
        int index = 0;
        while (index < categories && std::strcmp(tallies[index].name, name) != 0) {
            ++index;
        }
        if (index == categories) {
            if (categories == MOST_CATEGORIES) {
                std::fputs("too many categories\n", stderr);
                return 1;
            }
            std::memcpy(tallies[categories++].name, name, sizeof name);
        }
        const auto term = static_cast<int>(static_cast<std::int64_t>(months));
        const double got
            = computeMonthlyPayment(std::bit_cast<double>(amount), std::bit_cast<double>(rate), term);
        Tally& tally = tallies[index];
        ++tally.loans;
        if (std::bit_cast<std::uint64_t>(got) != payment) {
            ++tally.wrong;
            if (++wrong <= 20) {
                std::printf("wrong: %.17g %.17g %d gives %a, not %a\n", std::bit_cast<double>(amount),
                    std::bit_cast<double>(rate), term, got, std::bit_cast<double>(payment));
            }
        }
    }
    std::fclose(table);
    int loans = 0;
    for (int i = 0; i < categories; ++i) {
        std::printf("%-24s %5d loans, %d wrong\n", tallies[i].name, tallies[i].loans, tallies[i].wrong);
        loans += tallies[i].loans;
    }
    if (loans == 0) {
        std::fputs("no loans read\n", stderr);
        return 1;
    }
    return wrong == 0 ? 0 : 1;
}
