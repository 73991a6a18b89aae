#include "harness.h"

#include <stdexcept>
#ifdef _WIN32
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
// The C runtime's tmpfile names its files by a counter of its own, in the
// drive's root: two test programs at once take the same names. Ours carry
// the process's number and go when they are closed.
std::FILE* openTemporary()
{
    static unsigned made = 0;
    const char* folder = std::getenv("TEMP");
    char path[1024];
    std::snprintf(
        path, sizeof path, "%s\\console-test-%d-%u", folder != nullptr ? folder : ".", _getpid(), made++);
    const int fd = _open(path, _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_TEMPORARY, _S_IREAD | _S_IWRITE);
    return fd < 0 ? nullptr : _fdopen(fd, "w+b");
}
#else
std::FILE* openTemporary()
{
    return std::tmpfile();
}
#endif

// Windows reads and writes the standard streams in text mode, which turns
// every "\n" into "\r\n" on the way out. Elsewhere there is only one mode.
int setBinary(std::FILE* stream)
{
#ifdef _WIN32
    return _setmode(fileno(stream), _O_BINARY);
#else
    static_cast<void>(stream);
    return 0;
#endif
}

void setMode(std::FILE* stream, int mode)
{
#ifdef _WIN32
    _setmode(fileno(stream), mode);
#else
    static_cast<void>(stream);
    static_cast<void>(mode);
#endif
}

} // namespace

TemporaryFile temporary(std::string_view content)
{
    TemporaryFile file(openTemporary());
    if (!file) {
        throw std::runtime_error("no temporary file");
    }
    if (!content.empty()) {
        std::fwrite(content.data(), 1, content.size(), file.get());
        std::fflush(file.get());
    }
    std::rewind(file.get());
    return file;
}

std::string readFrom(int fd, long offset)
{
    const auto position = lseek(fd, 0, SEEK_CUR);
    lseek(fd, offset, SEEK_SET);
    std::string text;
    char chunk[4096];
    for (auto got = read(fd, chunk, sizeof chunk); got > 0; got = read(fd, chunk, sizeof chunk)) {
        text.append(chunk, static_cast<size_t>(got));
    }
    lseek(fd, position, SEEK_SET);
    return text;
}

Redirect::Redirect(std::string_view input, bool withErrors)
    : in_(temporary(input).release())
    , out_(temporary().release())
{
    std::fflush(stdout);
    savedIn_ = dup(fileno(stdin));
    savedOut_ = dup(fileno(stdout));
    dup2(fileno(in_), fileno(stdin));
    dup2(fileno(out_), fileno(stdout));
    inMode_ = setBinary(stdin);
    outMode_ = setBinary(stdout);
    if (withErrors) {
        err_ = temporary().release();
        savedErr_ = dup(fileno(stderr));
        dup2(fileno(err_), fileno(stderr));
        errMode_ = setBinary(stderr);
    }
    // Drop whatever stdin buffered from earlier input, then read the new file
    // from its top. fseek alone would keep the buffer when offset 0 lies
    // inside it, replaying the earlier bytes.
    // cppcheck-suppress fflushOnInputStream ; POSIX defines it for a seekable input stream, as this is
    std::fflush(stdin);
    lseek(fileno(stdin), 0, SEEK_SET);
    std::clearerr(stdin);
}

Redirect::~Redirect()
{
    std::fflush(stdout);
    // cppcheck-suppress fflushOnInputStream ; as above: forget the temporary input
    std::fflush(stdin);
    setMode(stdout, outMode_);
    setMode(stdin, inMode_);
    dup2(savedOut_, fileno(stdout));
    dup2(savedIn_, fileno(stdin));
    close(savedOut_);
    close(savedIn_);
    std::clearerr(stdin);
    std::fclose(out_);
    std::fclose(in_);
    if (err_ != nullptr) {
        setMode(stderr, errMode_);
        dup2(savedErr_, fileno(stderr));
        close(savedErr_);
        std::fclose(err_);
    }
}

std::string Redirect::written() const
{
    return readFrom(fileno(stdout));
}

std::string Redirect::errors() const
{
    return err_ != nullptr ? readFrom(fileno(stderr)) : std::string();
}

std::string Redirect::unread() const
{
    // What stdin has buffered but not handed out starts at its position.
    return readFrom(fileno(stdin), std::ftell(stdin));
}

ConsoleRun runOnConsole(std::string_view input, const std::function<void()>& call, bool withErrors)
{
    const Redirect console(input, withErrors);
    call();
    std::fflush(stdout);
    return { console.written(), console.unread(), console.errors() };
}

std::string printed(const std::function<void()>& call)
{
    return runOnConsole("", call).output;
}

#ifndef _WIN32
int awaitExit(pid_t pid, bool& timedOut, int* signal)
{
    int wstatus = 0;
    const auto deadline = std::chrono::steady_clock::now() + TIME_LIMIT;
    while (waitpid(pid, &wstatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            timedOut = true;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (signal != nullptr && WIFSIGNALED(wstatus)) {
        *signal = WTERMSIG(wstatus);
    }
    return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

long peakResident()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024L; // Linux counts KiB
}
#endif
