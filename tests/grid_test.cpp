// The calculator over a grid of edge inputs, compared with the reports that
// x86-64 gives (grid.txt). Every CPU and compiler must print the same bytes:
// a result that hangs on x87 excess precision, a NaN's sign or the width of
// long shows up here; so must an answer that cannot be read, its message and
// status. GRID_RECORD=path writes the file anew instead.
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
        "-50", "-100", "-150", "-200", "-300", "inf", "nan" };
    const char* const months[] = { "0", "1", "2", "12", "360", "100000", "-1", "-12", "2147483647",
        "2147483648", "-2147483649", "99999999999999999999" };
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

// What a run gives, a line each: the report's figures, the message on
// standard error and a status other than 0, as the input, what the line
// holds and the text, tab-separated.
std::string outcome(const std::string& input)
{
    int status = 0;
    const ConsoleRun run = runOnConsole(
        input + "\n", [&] { status = runPaymentCalculator(); }, true);
    std::string lines;
    for (const auto& [name, label] : { std::pair { "amount", "Total Borrowed Amount : $" },
             std::pair { "rate", "Monthly Interest Rate : " },
             std::pair { "payment", "Monthly Payment       : $" } }) {
        const size_t start = run.output.find(label);
        if (start != std::string::npos) {
            const size_t from = start + std::strlen(label);
            lines += input + '\t' + name + '\t' + run.output.substr(from, run.output.find('\n', from) - from)
                + '\n';
        }
    }
    if (!run.errors.empty()) {
        lines += input + "\terror\t" + run.errors.substr(0, run.errors.find_last_not_of("\r\n") + 1) + '\n';
    }
    if (status != 0) {
        lines += input + "\tstatus\t" + std::to_string(status) + '\n';
    }
    return lines;
}

TEST(Grid, EveryInputPrintsWhatX8664Prints)
{
    const std::vector<std::string> inputs = gridInputs();
    if (const char* path = std::getenv("GRID_RECORD")) {
        std::ofstream record(path);
        for (const std::string& input : inputs) {
            record << outcome(input);
        }
        GTEST_SKIP() << "recorded " << inputs.size() << " reports in " << path;
    }

    // An input's lines follow each other.
    std::ifstream recorded(GRID_DATA);
    std::vector<std::string> blocks;
    std::string previous = "\n"; // no input's
    for (std::string line; std::getline(recorded, line);) {
        const std::string input = line.substr(0, line.find('\t'));
        if (input != previous) {
            blocks.emplace_back();
            previous = input;
        }
        blocks.back() += line + '\n';
    }
    ASSERT_EQ(blocks.size(), inputs.size()) << "grid.txt is not this grid's record";
    int differences = 0;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string& expected = blocks[i];
        const std::string actual = outcome(inputs[i]);
        if (actual != expected && ++differences <= 20) {
            ADD_FAILURE() << "x86-64:\n" << expected << "here:\n" << actual;
        }
    }
    EXPECT_EQ(differences, 0) << "of " << inputs.size() << " inputs";
}

} // namespace
