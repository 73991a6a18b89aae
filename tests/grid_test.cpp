// The calculator over a grid of edge inputs, compared with the reports that
// x86-64 gives (grid.txt). Every CPU and compiler must print the same bytes:
// a result that hangs on x87 excess precision, a NaN's sign or the width of
// long shows up here. GRID_RECORD=path writes the file anew instead.
#include "harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

int runPaymentCalculator(); // the program's main, renamed for this test

namespace {

std::vector<std::string> gridInputs()
{
    const char* const amounts[] = { "0", "5e-324", "0.01", "1", "1000", "-1000", "250000", "1e15", "1e16",
        "1e30", "1e308", "-1e308", "inf", "nan" };
    const char* const rates[] = { "0", "5e-324", "-5e-324", "1e-10", "0.375", "0.5", "1", "2", "100", "1e10",
        "-50", "-100", "-150", "-300", "inf", "nan" };
    const char* const months[] = { "0", "1", "2", "12", "360", "100000", "-12", "2147483647", "2147483648",
        "-2147483649", "99999999999999999999" };
    std::vector<std::string> inputs;
    for (const char* amount : amounts) {
        for (const char* rate : rates) {
            for (const char* count : months) {
                // cppcheck-suppress useStlAlgorithm ; three nested loops read plainer than a transform
                inputs.push_back(std::string(amount) + ' ' + rate + ' ' + count);
            }
        }
    }
    // Text that is not a number, whole or in part.
    const char* const texts[] = { "", "abc", "5%", "1000 5% 12", "1000 1 12.5", "1000 1 0x10", "0x10 1 12",
        "- + .", "1e 1 12", "1000 -0 12", "-0 1 12" };
    inputs.insert(inputs.end(), std::begin(texts), std::end(texts));
    return inputs;
}

// The report's three figures, a line each: the input, the figure's name and
// the figure as printed, tab-separated.
std::string figures(const std::string& input)
{
    const std::string output = runOnConsole(input + "\n", [] { runPaymentCalculator(); }).output;
    std::string lines;
    for (const auto& [name, label] : { std::pair { "amount", "Total Borrowed Amount : $" },
             std::pair { "rate", "Monthly Interest Rate : " },
             std::pair { "payment", "Monthly Payment       : $" } }) {
        const size_t start = output.find(label);
        const size_t from = start == std::string::npos ? output.size() : start + std::strlen(label);
        lines += input + '\t' + name + '\t' + output.substr(from, output.find('\n', from) - from) + '\n';
    }
    return lines;
}

TEST(Grid, EveryInputPrintsWhatX8664Prints)
{
    const std::vector<std::string> inputs = gridInputs();
    if (const char* path = std::getenv("GRID_RECORD")) {
        std::ofstream record(path);
        for (const std::string& input : inputs) {
            record << figures(input);
        }
        GTEST_SKIP() << "recorded " << inputs.size() << " reports in " << path;
    }

    std::ifstream recorded(GRID_DATA);
    std::vector<std::string> lines;
    for (std::string line; std::getline(recorded, line);) {
        lines.push_back(line + '\n');
    }
    ASSERT_EQ(lines.size(), 3 * inputs.size()) << "grid.txt is not this grid's record";
    int differences = 0;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string expected = lines[3 * i] + lines[3 * i + 1] + lines[3 * i + 2];
        const std::string actual = figures(inputs[i]);
        if (actual != expected && ++differences <= 20) {
            ADD_FAILURE() << "x86-64:\n" << expected << "here:\n" << actual;
        }
    }
    EXPECT_EQ(differences, 0) << "of " << inputs.size() << " inputs";
}

} // namespace
