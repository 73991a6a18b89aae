// The whole program, run as a person would run it, where that takes POSIX:
// input on a pipe left open, NUL bytes, closed or failing streams, a terminal.
// The plain file-fed dialogues are dialogues.cmake's, which every platform runs.
#include "run_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string AMOUNT_PROMPT = "Enter the borrowed amount      ($): ";
const std::string RATE_PROMPT = "Enter the monthly interest rate(%): ";
const std::string MONTHS_PROMPT = "Enter the number of months     (M): ";

// The whole report, with @AMOUNT@, @RATE@ and @PAYMENT@ for its figures. The
// input is not echoed, so the three prompts stand side by side.
const std::string REPORT = [] {
    std::ifstream file(REPORT_TEMPLATE, std::ios::binary);
    std::string text;
    std::getline(file, text, '\0'); // the whole file: it holds no NUL
    return text;
}();
// All that comes before the first prompt.
const std::string BANNER = REPORT.substr(0, REPORT.find(AMOUNT_PROMPT));

std::string dialogue(const std::string& amount, const std::string& rate, const std::string& payment)
{
    std::string report = REPORT;
    for (const auto& [field, value] : { std::pair { "@AMOUNT@", amount }, std::pair { "@RATE@", rate },
             std::pair { "@PAYMENT@", payment } }) {
        report.replace(report.find(field), std::string(field).size(), value);
    }
    return report;
}

// The line said on standard error when an answer cannot be read.
std::string cannotRead(const std::string& answer, const std::string& why)
{
    return "payment_calculator: cannot read " + answer + ": " + why + "\n";
}

struct Failure {
    const char* name;
    std::string input;
    std::string shown; // the output: what comes before the newline that ends it
    std::string error;
    Input mode = Input::File;
};

void PrintTo(const Failure& failure, std::ostream* out)
{
    *out << failure.name;
}

class UnreadableAnswer : public testing::TestWithParam<Failure> { };

// A parameterised case is named by its own `name`.
template <typename Case> std::string nameOf(const testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

// An answer that cannot be read ends the run at once, even with the input
// still open: the prompt's line ended, one line on standard error, status 2.
TEST_P(UnreadableAnswer, EndsTheRunWithOneLineAndStatusTwo)
{
    const Failure& failure = GetParam();
    const ProgramRun run = runProgram(failure.input, failure.mode);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.output, failure.shown + "\n");
    EXPECT_EQ(run.errors, failure.error);
    EXPECT_EQ(run.status, 2);
}

INSTANTIATE_TEST_SUITE_P(BadInput, UnreadableAnswer,
    testing::Values(
        Failure { "PercentSignAfterRate", "1000\n5%\n", BANNER + AMOUNT_PROMPT + RATE_PROMPT + MONTHS_PROMPT,
            cannotRead("the number of months", "\"%\" is not a number"), Input::OpenPipe },
        Failure { "LettersForAmount", "abc\n", BANNER + AMOUNT_PROMPT,
            cannotRead("the borrowed amount", "\"abc\" is not a number"), Input::OpenPipe },
        Failure { "NulBytesForRate", std::string("1000\n\0\0\n12\n", 11),
            BANNER + AMOUNT_PROMPT + RATE_PROMPT,
            cannotRead("the monthly interest rate", "\"\\x00\"... is not a number") },
        Failure { "ClosedInput", "", BANNER + AMOUNT_PROMPT,
            cannotRead("the borrowed amount", "Bad file descriptor"), Input::Closed },
        // Each byte just inside and outside the printable range, and the
        // neighbours of the two that are escaped, which are not.
        Failure { "EdgeBytesForAmount", "\x1f ~\x7f\x80\xff\"\\!#[]\n", BANNER + AMOUNT_PROMPT,
            cannotRead("the borrowed amount", R"("\x1f ~\x7f\x80\xff\"\\!#[]" is not a number)") },
        // 24 bytes are shown whole; a 25th is not, and "..." says so.
        Failure { "TwentyFourBytesForAmount", "abcdefghijklmnopqrstuvwx\n", BANNER + AMOUNT_PROMPT,
            cannotRead("the borrowed amount", "\"abcdefghijklmnopqrstuvwx\" is not a number") },
        Failure { "TwentyFiveBytesForAmount", "abcdefghijklmnopqrstuvwxy\n", BANNER + AMOUNT_PROMPT,
            cannotRead("the borrowed amount", "\"abcdefghijklmnopqrstuvwx\"... is not a number") },
        // A text that is not a number, cut by the end of input, is not the end of input.
        Failure { "PercentSignAtTheEnd", "1000\n1\n%", BANNER + AMOUNT_PROMPT + RATE_PROMPT + MONTHS_PROMPT,
            cannotRead("the number of months", "\"%\" is not a number") }),
    nameOf<Failure>);

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
    expectCleanFinish(runProgram("1e308\n1\n12\n"));
    expectCleanFinish(runProgram("-1e308\n1\n12\n"));
    expectCleanFinish(runProgram("1000\n1e308\n12\n"));
    expectCleanFinish(runProgram(std::string(5000, '9') + "\n1\n12\n"));
    expectCleanFinish(runProgram("1000\n1\n" + std::string(5000, '9') + "\n"));
    expectCleanFinish(runProgram("1000\n1\n-2147483649\n"));
}

TEST(DialogueBadInput, ManyBlankLinesArePassedOver)
{
    const std::string blank(100000, '\n');
    const ProgramRun run = runProgram(blank + "1000\n" + blank + "1\n" + blank + "12\n");
    EXPECT_EQ(run.output, dialogue("1000.00", "1.0000", "88.85"));
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.status, 0);
}

// A report that never arrived is not a success: one line says why, and the
// status says so, whichever way the writes fail.
TEST(OutputErrors, ReportThatCannotBeWrittenFailsWithOneLine)
{
    for (const auto& [output, reason] : { std::pair { Output::Full, "No space left on device" },
             std::pair { Output::Closed, "Bad file descriptor" },
             std::pair { Output::ReaderGone, "Broken pipe" } }) {
        // An answer that cannot be read does not hide the write error.
        for (const char* input : { "1000\n1\n12\n", "abc\n" }) {
            const ProgramRun run = runProgram(input, Input::File, output);
            EXPECT_FALSE(run.timedOut) << reason;
            EXPECT_EQ(run.errors, std::string("payment_calculator: write error: ") + reason + "\n");
            EXPECT_EQ(run.status, 1) << reason << ' ' << input;
        }
    }
}

// A write that fails midway (on a full pipe that will not block) makes a
// failed run even when the pipe drains and the rest arrives: the stream's
// error indicator decides, not the last flush, and the message names no
// stale reason.
TEST(OutputErrors, WriteThatFailsMidwayFailsTheRunThoughTheRestArrives)
{
    LiveProgram program(LiveProgram::Channel::FullPipe);
    program.type("1000\n");
    // The program reads only after its prompt's write has failed.
    ASSERT_TRUE(program.awaitTaken());
    program.drain();
    program.type("1 12\n");
    EXPECT_EQ(program.finish(), 1);
    EXPECT_TRUE(program.seen().ends_with("End Program\npayment_calculator: write error\n")) << program.seen();
}

// The program leaves SIGPIPE alone, so that like any filter it stops quietly
// when its reader goes away.
TEST(OutputErrors, ReaderGoneEndsTheProgramBySigpipe)
{
    const ProgramRun run = runProgram("1000\n1\n12\n", Input::File, Output::ReaderGoneSigpipe);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.status, -1);
    EXPECT_EQ(run.signal, SIGPIPE);
}

// With standard output on a pipe, each prompt must arrive before the program
// waits for its answer, or a person (or a script) would never see it.
TEST(LiveDialogue, EachPromptArrivesOnAPipeBeforeTheProgramWaits)
{
    LiveProgram program(LiveProgram::Channel::Pipes);
    for (const auto& [prompt, answer] : { std::pair { BANNER + AMOUNT_PROMPT, "1000\n" },
             std::pair { RATE_PROMPT, "1\n" }, std::pair { MONTHS_PROMPT, "12\n" } }) {
        EXPECT_TRUE(program.awaitOutput(prompt)) << "waited for: " << prompt << "\nsaw: " << program.seen();
        program.type(answer);
    }
    EXPECT_EQ(program.finish(), 0);
    EXPECT_EQ(program.seen(), dialogue("1000.00", "1.0000", "88.85"));
}

// A terminal session: each answer typed once its prompt shows.
struct TerminalSession {
    const char* name;
    std::vector<std::pair<std::string, std::string>> typed; // the prompt, then the answer
    std::string screen; // what shows, echoed answers included, with "\n" for CR LF
    int status;
};

void PrintTo(const TerminalSession& session, std::ostream* out)
{
    *out << session.name;
}

class Terminal : public testing::TestWithParam<TerminalSession> { };

// At a terminal the answers echo and every newline shows as CR LF; Ctrl-D
// (which shows nothing) ends the input.
TEST_P(Terminal, ShowsTheDialogueAndEndsWithItsStatus)
{
    const TerminalSession& session = GetParam();
    LiveProgram program(LiveProgram::Channel::Terminal);
    for (const auto& [prompt, answer] : session.typed) {
        EXPECT_TRUE(program.awaitOutput(prompt)) << program.seen();
        program.type(answer);
    }
    EXPECT_EQ(program.finish(), session.status);
    std::string onScreen;
    for (const char c : session.screen) {
        onScreen += c == '\n' ? "\r\n" : std::string(1, c);
    }
    EXPECT_EQ(program.seen(), onScreen);
}

INSTANTIATE_TEST_SUITE_P(LiveDialogue, Terminal,
    testing::Values(TerminalSession { "Answered",
                        { { AMOUNT_PROMPT, "1000\n" }, { RATE_PROMPT, "1\n" }, { MONTHS_PROMPT, "12\n" } },
                        [] {
                            std::string screen = dialogue("1000.00", "1.0000", "88.85");
                            for (const auto& [prompt, answer] :
                                { std::pair { MONTHS_PROMPT, "12\n" }, std::pair { RATE_PROMPT, "1\n" },
                                    std::pair { AMOUNT_PROMPT, "1000\n" } }) {
                                screen.insert(screen.find(prompt) + prompt.size(), answer);
                            }
                            return screen;
                        }(),
                        0 },
        TerminalSession { "CommaInAmount", { { AMOUNT_PROMPT, "1,000\n" } },
            BANNER + AMOUNT_PROMPT + "1,000\n" + RATE_PROMPT + "\n"
                + cannotRead("the monthly interest rate", "\",000\" is not a number"),
            2 },
        TerminalSession { "DollarSignBeforeAmount", { { AMOUNT_PROMPT, "$250000\n" } },
            BANNER + AMOUNT_PROMPT + "$250000\n\n"
                + cannotRead("the borrowed amount", "\"$250000\" is not a number"),
            2 },
        TerminalSession { "CtrlDAtFirstPrompt", { { AMOUNT_PROMPT, "\x04" } },
            BANNER + AMOUNT_PROMPT + "\n" + cannotRead("the borrowed amount", "end of input"), 2 },
        TerminalSession { "PercentSignAfterRate", { { AMOUNT_PROMPT, "1000 5% 12\n" } },
            BANNER + AMOUNT_PROMPT + "1000 5% 12\n" + RATE_PROMPT + MONTHS_PROMPT + "\n"
                + cannotRead("the number of months", "\"% 12\" is not a number"),
            2 },
        TerminalSession { "CtrlDAtThirdPrompt", { { AMOUNT_PROMPT, "1000 1\n" }, { MONTHS_PROMPT, "\x04" } },
            BANNER + AMOUNT_PROMPT + "1000 1\n" + RATE_PROMPT + MONTHS_PROMPT + "\n"
                + cannotRead("the number of months", "end of input"),
            2 }),
    nameOf<TerminalSession>);

} // namespace
