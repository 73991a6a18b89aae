// The whole program, run as a person would run it, where that takes POSIX:
// input on a pipe left open, NUL bytes, closed or failing streams, a terminal.
// The plain file-fed dialogues are dialogues.cmake's, which every platform runs.
#include "run_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <string>

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
    const ProgramRun run = runProgram(session.input, session.mode);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.output, dialogue(session.amount, session.rate, session.payment));
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.status, 0);
}

// Unconverted text stays in the input and fails the later prompts at once, so
// the program finishes even though the input is still open; NUL bytes and a
// closed input end it the same way.
INSTANTIATE_TEST_SUITE_P(BadInput, Dialogue,
    testing::Values(
        Session { "PercentSignAfterRate", "1000\n5%\n", "1000.00", "5.0000", "inf", Input::OpenPipe },
        Session { "LettersForAmount", "abc\n", "0.00", "0.0000", "nan", Input::OpenPipe },
        Session { "NulBytesForRate", std::string("1000\n\0\0\n12\n", 11), "1000.00", "0.0000", "inf" },
        Session { "ClosedInput", "", "0.00", "0.0000", "nan", Input::Closed }),
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
        const ProgramRun run = runProgram("1000\n1\n12\n", Input::File, output);
        EXPECT_FALSE(run.timedOut) << reason;
        EXPECT_EQ(run.errors, std::string("payment_calculator: write error: ") + reason + "\n");
        EXPECT_EQ(run.status, 1) << reason;
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

// At a terminal the answers echo, every newline shows as CR LF, and Ctrl-D
// at the rate prompt ends the input: the run still finishes, with status 0.
TEST(LiveDialogue, TerminalSessionEchoesAnswersAndFinishesOnCtrlD)
{
    LiveProgram program(LiveProgram::Channel::Terminal);
    EXPECT_TRUE(program.awaitOutput(AMOUNT_PROMPT)) << program.seen();
    program.type("1000\n");
    EXPECT_TRUE(program.awaitOutput(RATE_PROMPT)) << program.seen();
    program.type("\x04");
    EXPECT_EQ(program.finish(), 0);

    // The typed answer echoes right after its prompt; ^D itself shows nothing.
    std::string expected = dialogue("1000.00", "0.0000", "inf");
    expected.insert(BANNER.size() + AMOUNT_PROMPT.size(), "1000\n");
    std::string onScreen;
    for (const char c : expected) {
        onScreen += c == '\n' ? "\r\n" : std::string(1, c);
    }
    EXPECT_EQ(program.seen(), onScreen);
}

} // namespace
