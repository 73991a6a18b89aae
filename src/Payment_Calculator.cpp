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

// The exit status when an answer cannot be read; 1 is output not written.
constexpr int UNREADABLE_ANSWER = 2;
// At most this many bytes of an answer that is not a number are shown.
constexpr int SHOWN_BYTES = 24;

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

// At most SHOWN_BYTES of an answer that is not a number, quoted, with the
// quote, the backslash and every byte that is not printable ASCII escaped,
// so that no byte typed can move a terminal's cursor or hide the quotes;
// "..." follows when more was typed. An empty text began with a NUL byte.
constexpr int QUOTED_SIZE = 4 * SHOWN_BYTES + static_cast<int>(sizeof "\"\"..."); // \xNN a byte at most

void quote(const char* text, char* quoted)
{
    int length = 0;
    quoted[length++] = '"';
    int taken = 0;
    for (; taken < SHOWN_BYTES && text[taken] != '\0'; ++taken) {
        const auto byte = static_cast<unsigned char>(text[taken]);
        if (byte == '"' || byte == '\\') {
            quoted[length++] = '\\';
            quoted[length++] = static_cast<char>(byte);
        } else if (byte < ' ' || byte > '~') {
            length += std::snprintf(quoted + length, 5, "\\x%02x", byte);
        } else {
            quoted[length++] = static_cast<char>(byte);
        }
    }
    if (taken == 0) {
        length += std::snprintf(quoted + length, 5, "\\x00");
    }
    std::snprintf(quoted + length, static_cast<size_t>(QUOTED_SIZE - length), "\"%s",
        taken == 0 || text[taken] != '\0' ? "..." : "");
}

// Says on standard error, in one line, why `answer` could not be read, after
// ending the prompt's line. When the output itself failed, its write error is
// the one line said instead.
int cannotRead(const char* answer, const char* failedText, int readError)
{
    printEndline();
    if (finishOutput() != 0) {
        return 1;
    }
    if (std::ferror(stdin) != 0) {
        std::fprintf(stderr, "payment_calculator: cannot read %s: %s\n", answer,
            readError != 0 ? std::strerror(readError) : "read error");
    } else if (failedText[0] == '\0' && std::feof(stdin) != 0) {
        std::fprintf(stderr, "payment_calculator: cannot read %s: end of input\n", answer);
    } else {
        char quoted[QUOTED_SIZE];
        quote(failedText, quoted);
        std::fprintf(stderr, "payment_calculator: cannot read %s: %s is not a number\n", answer, quoted);
    }
    return UNREADABLE_ANSWER;
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

    // errno is cleared before each read, so that a read error's reason is its own.
    char failedText[TEXT_BUFFER_SIZE];
    double borrowedAmount = 0.0;
    errno = 0;
    if (!promptForDoubleChecked("Enter the borrowed amount      ($): ", borrowedAmount, failedText)) {
        return cannotRead("the borrowed amount", failedText, errno);
    }
    double ratePercent = 0.0;
    errno = 0;
    if (!promptForDoubleChecked("Enter the monthly interest rate(%): ", ratePercent, failedText)) {
        return cannotRead("the monthly interest rate", failedText, errno);
    }
    int months = 0;
    errno = 0;
    if (!promptForIntegerChecked("Enter the number of months     (M): ", months, failedText)) {
        return cannotRead("the number of months", failedText, errno);
    }

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
