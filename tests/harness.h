// What the tests run code with: standard input and output redirected to
// temporary files, in-process, and on POSIX systems a child process's end
// and the process's peak memory. The built program as a separate process is
// run_program.h's, on POSIX systems.
#ifndef HARNESS_H
#define HARNESS_H

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct FileCloser {
    void operator()(std::FILE* file) const
    {
        std::fclose(file);
    }
};
using TemporaryFile = std::unique_ptr<std::FILE, FileCloser>;

// A temporary file holding `content`, open for reading from its top.
TemporaryFile temporary(std::string_view content = {});

// The whole file behind `fd` from `offset` on, whatever its stream buffered;
// the descriptor's position is left where it was.
std::string readFrom(int fd, long offset = 0);

// Points standard input at a temporary file holding `input` and standard
// output at an empty one, and points both back when it goes out of scope, so
// a failed or throwing test cannot leave the streams on temporary files. Both
// are binary, so that Windows writes and reads the same bytes as elsewhere.
// Standard error too, when asked: not always, so that a sanitizer's report
// during a call still shows.
class Redirect {
public:
    explicit Redirect(std::string_view input, bool withErrors = false);
    ~Redirect();
    Redirect(const Redirect&) = delete;
    Redirect& operator=(const Redirect&) = delete;

    std::string written() const; // what has reached the output file, without flushing
    std::string unread() const; // what standard input has not consumed yet
    std::string errors() const; // what has reached standard error, if redirected

private:
    std::FILE* in_;
    std::FILE* out_;
    std::FILE* err_ = nullptr;
    int savedIn_;
    int savedOut_;
    int savedErr_ = -1;
    int inMode_ = 0; // the streams' text or binary modes, on Windows
    int outMode_ = 0;
    int errMode_ = 0;
};

struct ConsoleRun {
    std::string output; // everything the call wrote to standard output
    std::string unread; // what the call left in standard input
    std::string errors; // what it wrote to standard error, when asked for
};

ConsoleRun runOnConsole(std::string_view input, const std::function<void()>& call, bool withErrors = false);

// What the call writes, with empty input.
std::string printed(const std::function<void()>& call);

#ifndef _WIN32
#include <chrono>
#include <sys/types.h>

// Long enough for a run under an emulator on a busy machine.
inline constexpr auto TIME_LIMIT = std::chrono::seconds(10);

// The exit status of the child `pid`, or -1 when it was killed (by `signal`),
// crashed or ran past TIME_LIMIT (then it is killed, and `timedOut` set).
int awaitExit(pid_t pid, bool& timedOut, int* signal = nullptr);

// The process's peak resident memory so far, in bytes: under an emulator,
// the emulator's.
long peakResident();
#endif

#endif
