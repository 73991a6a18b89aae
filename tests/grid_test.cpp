// The calculator over a grid of edge inputs, compared with the reports that
// x86-64 gives (grid.txt). Every CPU and compiler must print the same bytes:
// a result that hangs on x87 excess precision, a NaN's sign or the width of
// long shows up here. GRID_RECORD=path writes the file anew instead.
#include "harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
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

// The three figures of the report, tab-separated: amount, rate and payment.
std::string figures(const std::string& input)
{
    const std::string output = runOnConsole(input + "\n", [] { runPaymentCalculator(); }).output;
    std::string result;
    for (const char* label :
        { "Total Borrowed Amount : $", "Monthly Interest Rate : ", "Monthly Payment       : $" }) {
        const size_t start = output.find(label);
        if (start == std::string::npos) {
            return "no report";
        }
        const size_t from = start + std::char_traits<char>::length(label);
        if (!result.empty()) {
            result += '\t';
        }
        result.append(output, from, output.find('\n', from) - from);
    }
    return result;
}

TEST(Grid, EveryInputPrintsWhatX8664Prints)
{
    const std::vector<std::string> inputs = gridInputs();
    if (const char* path = std::getenv("GRID_RECORD")) {
        std::ofstream record(path);
        for (const std::string& input : inputs) {
            record << input << '\t' << figures(input) << '\n';
        }
        GTEST_SKIP() << "recorded " << inputs.size() << " reports in " << path;
    }

    std::ifstream recorded(GRID_DATA);
    std::vector<std::string> lines;
    for (std::string line; std::getline(recorded, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), inputs.size()) << "grid.txt is not this grid's record";
    int differences = 0;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string actual = inputs[i] + '\t' + figures(inputs[i]);
        if (actual != lines[i] && ++differences <= 20) {
            ADD_FAILURE() << "x86-64: " << lines[i] << "\nhere:   " << actual;
        }
    }
    EXPECT_EQ(differences, 0) << "of " << inputs.size() << " inputs";
}

} // namespace
