// The built calculator as a separate process, fed all at once or typed at as
// it runs, on pipes, files or a pseudo-terminal: POSIX systems only.
#ifndef RUN_PROGRAM_H
#define RUN_PROGRAM_H

#include <chrono>
#include <string>
#include <string_view>

enum class Input {
    File, // the typed text, then the end of input
    OpenPipe, // the typed text on a pipe that stays open while the program runs
    Closed, // no standard input at all
};

// Where standard output goes. Only a file is read back.
enum class Output {
    File,
    Full, // /dev/full: every write fails with ENOSPC
    Closed, // no standard output at all: EBADF
    ReaderGone, // a pipe whose reader has gone, SIGPIPE ignored: EPIPE
    ReaderGoneSigpipe, // the same with SIGPIPE at its default, as a shell leaves it
};

struct ProgramRun {
    std::string output;
    std::string errors;
    int status = -1; // exit status, or -1 when killed or crashed
    int signal = 0; // the signal that killed it
    bool timedOut = false;
};

// Runs the calculator on `input`. Every other signal disposition is the
// default, SIGPIPE's too.
ProgramRun runProgram(std::string_view input, Input mode = Input::File, Output output = Output::File);

// The calculator running with its standard streams on pipes or on a
// pseudo-terminal, answered as a person would: wait for a prompt, then type.
class LiveProgram {
public:
    // Pipes: input on one pipe, output and errors on another. Terminal: all
    // three on a pseudo-terminal. FullPipe: as Pipes, but the output pipe is
    // full when the program starts and never blocks it: its writes fail
    // (EAGAIN) until drain().
    enum class Channel { Pipes, Terminal, FullPipe };
    explicit LiveProgram(Channel channel);
    ~LiveProgram();
    LiveProgram(const LiveProgram&) = delete;
    LiveProgram& operator=(const LiveProgram&) = delete;

    // Reads until what the program has shown ends with `wanted`; false when
    // it does not within a few seconds.
    bool awaitOutput(std::string_view wanted);
    void type(std::string_view text) const;
    // Waits until the program has read all that was typed; false when it
    // has not within a few seconds.
    bool awaitTaken() const;
    // Reads away what filled a FullPipe, so that the program's writes work.
    void drain();
    // Reads to the end, waits for the program and gives its exit status, or
    // -1 when it was killed, crashed or overran its time.
    int finish();
    const std::string& seen() const
    {
        return seen_;
    }

private:
    bool readMore(std::chrono::steady_clock::time_point deadline);

    int input_ = -1; // what the test types into
    int output_ = -1; // what the test reads from
    int pid_ = -1;
    size_t stuffed_ = 0; // bytes that filled a FullPipe
    std::string seen_;
};

#endif
