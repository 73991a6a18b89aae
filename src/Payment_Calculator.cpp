// Asks for a loan's amount, monthly rate and term, and prints the fixed
// monthly payment that repays it.
#include "Console_IO_Utility.h"
#include "Monthly_Payment.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr double PERCENTAGE_CONVERSION = 0.01;
constexpr int TWO_DIGITS = 2;
constexpr int FOUR_DIGITS = 4;
constexpr int TWO_ENDLINES = 2;
constexpr char PERCENT_CHAR = '%';

// The console module checks no single write; a failed one leaves standard
// output's error indicator set, and the last of the report may still sit in
// its buffer. A report that did not all arrive must not end in success.
int finishOutput()
{
    errno = 0;
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return 0;
    }
    // Only the failing flush's reason is known; an earlier write's is lost.
    if (errno != 0) {
        std::fprintf(stderr, "payment_calculator: write error: %s\n", std::strerror(errno));
    } else {
        std::fputs("payment_calculator: write error\n", stderr);
    }
    return 1;
}

} // namespace

int main()
{
    printEndline();
    printString("Monthly Payment Calculator");
    printEndline();
    printString("==========================");
    printEndlines(TWO_ENDLINES);
    printString("Data Entry");
    printEndline();
    printString("----------");
    printEndlines(TWO_ENDLINES);

    const double borrowedAmount = promptForDouble("Enter the borrowed amount      ($): ");
    const double ratePercent = promptForDouble("Enter the monthly interest rate(%): ");
    const int months = promptForInteger("Enter the number of months     (M): ");

    const double monthlyRate = ratePercent * PERCENTAGE_CONVERSION;
    const double monthlyPayment = computeMonthlyPayment(borrowedAmount, monthlyRate, months);

    printEndline();
    printString("Calculation Results");
    printEndline();
    printString("-------------------");
    printEndline();
    printEndline();

    printString("Total Borrowed Amount : $");
    printDouble(borrowedAmount, TWO_DIGITS);
    printEndline();
    printEndline();

    // The rate as the person entered it, in percent, to match the '%' after it.
    printString("Monthly Interest Rate : ");
    printDouble(ratePercent, FOUR_DIGITS);
    printCharacter(PERCENT_CHAR);
    printEndline();
    printEndline();

    printString("Monthly Payment       : $");
    printDouble(monthlyPayment, TWO_DIGITS);
    printEndline();
    printEndline();

    printString("End Program");
    printEndline();
    return finishOutput();
}
