// Runs the built calculator as a separate process with typed input.
#ifndef PROGRAM_RUN_H
#define PROGRAM_RUN_H

#include <string>
#include <string_view>

enum class Input {
    File, // the typed text, then the end of input
    OpenPipe, // the typed text on a pipe that stays open while the program runs
    Closed, // no standard input at all
};

struct ProgramRun {
    std::string output;
    std::string errors;
    int status = -1; // exit status, or -1 when killed or crashed
    bool timedOut = false;
};

// Standard output goes to a file that is read back, or to `outputPath` when
// one is given (and is then not read).
ProgramRun runProgram(
    const char* program, std::string_view input, Input mode = Input::File, const char* outputPath = nullptr);

#endif
