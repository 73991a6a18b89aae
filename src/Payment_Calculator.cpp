// Asks for a loan's amount, monthly rate and term, and prints the fixed
// monthly payment that repays it.
#include "Console_IO_Utility.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr double PERCENTAGE_CONVERSION = 0.01;
constexpr int TWO_DIGITS = 2;
constexpr int FOUR_DIGITS = 4;
constexpr int TWO_ENDLINES = 2;
constexpr char PERCENT_CHAR = '%';

// amount * r * g / (g - 1) with g = (1 + r)^months, r the monthly rate as a
// fraction. Written as amount * r / (1 - (1 + r)^-months) through expm1 and
// log1p, it keeps its precision for tiny rates (where g - 1 cancels) and its
// value for long terms (where g overflows).
double computeMonthlyPayment(double amount, double monthlyRate, int months)
{
    const auto term = static_cast<double>(months);
    if (monthlyRate == 0.0) {
        return amount / term; // the limit as the rate goes to 0
    }
    if (monthlyRate > -1.0 && months != 0) {
        const double discount = -std::expm1(-(term * std::log1p(monthlyRate)));
        // A rate too small to tell from 0 over this term: the same limit.
        if (discount == 0.0) {
            return amount / term;
        }
        return amount * (monthlyRate / discount);
    }
    // The rest has no finite answer or a negative base: take the formula as it
    // stands.
    const double growth = std::pow(1.0 + monthlyRate, term);
    return (amount * monthlyRate) * (growth / (growth - 1.0));
}

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
