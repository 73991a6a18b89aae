// The whole program, run as a person would run it: typed input in, the whole
// output and the exit status checked byte for byte.
#include "program_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const PROGRAM = PAYMENT_CALCULATOR_PATH;

const std::string BANNER = "\n"
                           "Monthly Payment Calculator\n"
                           "==========================\n"
                           "\n"
                           "Data Entry\n"
                           "----------\n"
                           "\n";
const std::string AMOUNT_PROMPT = "Enter the borrowed amount      ($): ";
const std::string RATE_PROMPT = "Enter the monthly interest rate(%): ";
const std::string MONTHS_PROMPT = "Enter the number of months     (M): ";

// The input is not echoed, so the three prompts stand side by side.
std::string dialogue(const std::string& amount, const std::string& rate, const std::string& payment)
{
    return BANNER + AMOUNT_PROMPT + RATE_PROMPT + MONTHS_PROMPT + "\n"
        + "Calculation Results\n"
          "-------------------\n"
          "\n"
          "Total Borrowed Amount : $"
        + amount + "\n\nMonthly Interest Rate : " + rate + "%\n\nMonthly Payment       : $" + payment
        + "\n\nEnd Program\n";
}

struct Session {
    const char* name;
    std::string input;
    std::string amount, rate, payment; // as the report shows them
    Input mode = Input::File;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Session& session, std::ostream* out)
{
    *out << session.name;
}

class Dialogue : public testing::TestWithParam<Session> { };

std::string sessionName(const testing::TestParamInfo<Session>& session)
{
    return session.param.name;
}

TEST_P(Dialogue, PrintsTheWholeReportAndExitsZero)
{
    const Session& session = GetParam();
    const ProgramRun run = runProgram(PROGRAM, session.input, session.mode);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.output, dialogue(session.amount, session.rate, session.payment));
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.status, 0);
}

INSTANTIATE_TEST_SUITE_P(Payments, Dialogue,
    testing::Values(Session { "OneYearAtOnePercent", "1000\n1\n12\n", "1000.00", "1.0000", "88.85" },
        Session { "FiveYears", "20000\n0.5\n60\n", "20000.00", "0.5000", "386.66" },
        Session { "ThirtyYears", "250000\n0.375\n360\n", "250000.00", "0.3750", "1266.71" },
        Session { "SixMonths", "1500\n2\n6\n", "1500.00", "2.0000", "267.79" },
        // One month repays the amount and one month's interest.
        Session { "OneMonth", "1000\n1\n1\n", "1000.00", "1.0000", "1010.00" },
        Session { "NegativeAmount", "-1000\n1\n12\n", "-1000.00", "1.0000", "-88.85" },
        // The rate line shows the percentage entered, not the fraction 0.0150.
        Session { "FractionalRate", "1000\n1.5\n12\n", "1000.00", "1.5000", "91.68" },
        Session { "AnswersOnOneLine", "1000 1 12\n", "1000.00", "1.0000", "88.85" },
        Session { "BlankLinesBeforeAnswers", "\n\n1000\n\n \n1\n\t\n\n12\n", "1000.00", "1.0000", "88.85" },
        Session { "NoNewlineAtTheEnd", "1000\n1\n12", "1000.00", "1.0000", "88.85" }),
    sessionName);

// A literal (1 + r)^n - 1 gives a not-a-number for a zero rate, loses the
// payment to cancellation for a tiny one and to overflow for a long term.
INSTANTIATE_TEST_SUITE_P(Limits, Dialogue,
    testing::Values(Session { "ZeroRate", "1200\n0\n12\n", "1200.00", "0.0000", "100.00" },
        Session { "TinyRate", "1200\n0.0000000001\n12\n", "1200.00", "0.0000", "100.00" },
        Session { "VeryLongTerm", "1000\n1\n100000\n", "1000.00", "1.0000", "10.00" },
        Session { "ZeroMonths", "1000\n1\n0\n", "1000.00", "1.0000", "inf" },
        // Too long for a 32-character number buffer: printed whole.
        Session { "HugeAmount", "1e30\n1\n12\n", "1000000000000000019884624838656.00", "1.0000",
            "88848788678341713973288632320.00" },
        // Saturated to the largest int, not wrapped to a negative count.
        Session { "MonthsBeyondInt", "1000\n1\n2147483648\n", "1000.00", "1.0000", "10.00" },
        // A rate of -100% or less is used as read, through the plain formula.
        Session { "RateMinus300Percent", "1000\n-300\n2\n", "1000.00", "-300.0000", "-4000.00" }),
    sessionName);

// Unconverted text stays in the input and fails the later prompts at once, so
// the program finishes even though the input is still open.
INSTANTIATE_TEST_SUITE_P(BadInput, Dialogue,
    testing::Values(
        Session { "PercentSignAfterRate", "1000\n5%\n", "1000.00", "5.0000", "inf", Input::OpenPipe },
        Session { "LettersForAmount", "abc\n", "0.00", "0.0000", "-nan", Input::OpenPipe },
        Session { "NulBytesForRate", std::string("1000\n\0\0\n12\n", 11), "1000.00", "0.0000", "inf" },
        Session { "EndOfInputAtFirstPrompt", "", "0.00", "0.0000", "-nan" },
        Session { "EndOfInputAtSecondPrompt", "1000\n", "1000.00", "0.0000", "inf" },
        Session { "EndOfInputAtThirdPrompt", "1000\n1\n", "1000.00", "1.0000", "inf" },
        Session { "ClosedInput", "", "0.00", "0.0000", "-nan", Input::Closed },
        Session { "NotANumber", "1000\nnan\n12\n", "1000.00", "nan", "nan" },
        Session { "InfiniteAmount", "inf\n1\n12\n", "inf", "1.0000", "inf" }),
    sessionName);

void expectCleanFinish(const ProgramRun& run)
{
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.output.rfind(BANNER + AMOUNT_PROMPT + RATE_PROMPT + MONTHS_PROMPT + "\n", 0), 0U);
    EXPECT_TRUE(run.output.ends_with("\n\nEnd Program\n")) << run.output;
}

TEST(DialogueBadInput, ExtremeNumbersFinishCleanly)
{
    expectCleanFinish(runProgram(PROGRAM, "1e308\n1\n12\n"));
    expectCleanFinish(runProgram(PROGRAM, "-1e308\n1\n12\n"));
    expectCleanFinish(runProgram(PROGRAM, "1000\n1e308\n12\n"));
    expectCleanFinish(runProgram(PROGRAM, std::string(5000, '9') + "\n1\n12\n"));
    expectCleanFinish(runProgram(PROGRAM, "1000\n1\n" + std::string(5000, '9') + "\n"));
    expectCleanFinish(runProgram(PROGRAM, "1000\n1\n-2147483649\n"));
}

TEST(DialogueBadInput, ManyBlankLinesArePassedOver)
{
    const std::string blank(100000, '\n');
    const ProgramRun run = runProgram(PROGRAM, blank + "1000\n" + blank + "1\n" + blank + "12\n");
    EXPECT_EQ(run.output, dialogue("1000.00", "1.0000", "88.85"));
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.status, 0);
}

TEST(DialogueBadInput, FullOutputDeviceIsIgnored)
{
    const ProgramRun run = runProgram(PROGRAM, "1000\n1\n12\n", Input::File, "/dev/full");
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.status, 0);
}

// Reads from `fd` until the text read so far ends with `wanted`, or fails
// after a few seconds. The program must not have seen its answer yet.
bool awaitOutput(int fd, std::string& seen, const std::string& wanted)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!seen.ends_with(wanted)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready { fd, POLLIN, 0 };
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        char chunk[256];
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got <= 0) {
            return false;
        }
        seen.append(chunk, static_cast<size_t>(got));
    }
    return true;
}

// With standard output on a pipe, each prompt must arrive before the program
// waits for its answer, or a person (or a script) would never see it.
TEST(DialogueOnPipes, EachPromptArrivesBeforeTheProgramWaits)
{
    int toProgram[2];
    int fromProgram[2];
    ASSERT_EQ(pipe(toProgram), 0);
    ASSERT_EQ(pipe(fromProgram), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toProgram[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromProgram[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, toProgram[1]);
    posix_spawn_file_actions_addclose(&actions, fromProgram[0]);
    char* const argv[] = { const_cast<char*>(PROGRAM), nullptr };
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, PROGRAM, &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(toProgram[0]);
    close(fromProgram[1]);

    std::string seen;
    const std::pair<std::string, std::string> steps[] = {
        { BANNER + AMOUNT_PROMPT, "1000\n" },
        { RATE_PROMPT, "1\n" },
        { MONTHS_PROMPT, "12\n" },
    };
    for (const auto& [prompt, answer] : steps) {
        EXPECT_TRUE(awaitOutput(fromProgram[0], seen, prompt))
            << "waited for: " << prompt << "\nsaw: " << seen;
        ASSERT_EQ(write(toProgram[1], answer.data(), answer.size()), static_cast<ssize_t>(answer.size()));
    }
    EXPECT_TRUE(awaitOutput(fromProgram[0], seen, "End Program\n"));
    close(toProgram[1]);
    close(fromProgram[0]);
    int status = 0;
    if (seen != dialogue("1000.00", "1.0000", "88.85")) {
        kill(pid, SIGKILL);
    }
    waitpid(pid, &status, 0);
    EXPECT_EQ(seen, dialogue("1000.00", "1.0000", "88.85"));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
