#include "run_program.h"

#include "harness.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

void closeOnExec(int fd)
{
    fcntl(fd, F_SETFD, FD_CLOEXEC);
}

// Starts the calculator with `in` and `out` (none when negative) and `err` as
// its standard streams. Every other descriptor of ours is close-on-exec.
pid_t spawnProgram(int in, int out, int err, bool ignoreSigpipe = false)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const auto& [from, to] : { std::pair { in, STDIN_FILENO }, std::pair { out, STDOUT_FILENO } }) {
        if (from < 0) {
            posix_spawn_file_actions_addclose(&actions, to);
        } else {
            posix_spawn_file_actions_adddup2(&actions, from, to);
        }
    }
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    // We ignore SIGPIPE, so that a program that died early gives us EPIPE
    // rather than killing the tests; the program gets it ignored only when
    // asked, and the default otherwise.
    std::signal(SIGPIPE, SIG_IGN);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t toDefault;
    sigemptyset(&toDefault);
    if (!ignoreSigpipe) {
        sigaddset(&toDefault, SIGPIPE);
    }
    posix_spawnattr_setsigdefault(&attributes, &toDefault);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    // A preloaded library (libfaketime under a reproducibility check, say)
    // opens files as it starts, and with a standard stream closed the first
    // of them would take its place: the program gets our environment without.
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "LD_PRELOAD=", 11) != 0) {
            environment.push_back(*entry);
        }
    }
    environment.push_back(nullptr);
    const char* program = PAYMENT_CALCULATOR_PATH;
    char* const argv[] = { const_cast<char*>(program), nullptr };
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, &attributes, argv, environment.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start the program");
    }
    return pid;
}

void writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t put = write(fd, text.data(), text.size());
        if (put <= 0) {
            throw std::runtime_error("cannot write to the program");
        }
        text.remove_prefix(static_cast<size_t>(put));
    }
}

// A descriptor for standard output other than a file: the caller closes it
// once the program has it.
int specialOutput(Output output)
{
    if (output == Output::Full) {
        return open("/dev/full", O_WRONLY | O_CLOEXEC);
    }
    if (output == Output::Closed) {
        return -1;
    }
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("no pipe");
    }
    close(ends[0]); // the reader is gone before the first write
    return ends[1];
}

} // namespace

ProgramRun runProgram(std::string_view input, Input mode, Output output)
{
    const TemporaryFile in = temporary(mode == Input::File ? input : std::string_view());
    const TemporaryFile out = temporary();
    const TemporaryFile err = temporary();
    int pipeEnds[2] = { -1, -1 };
    if (mode == Input::OpenPipe && pipe2(pipeEnds, O_CLOEXEC) != 0) {
        throw std::runtime_error("no pipe");
    }
    const int outFd = output == Output::File ? fileno(out.get()) : specialOutput(output);
    const int inFd = mode == Input::File ? fileno(in.get()) : pipeEnds[0];
    const pid_t pid = spawnProgram(inFd, outFd, fileno(err.get()), output == Output::ReaderGone);
    if (output != Output::File && outFd >= 0) {
        close(outFd);
    }

    if (mode == Input::OpenPipe) {
        close(pipeEnds[0]);
        writeAll(pipeEnds[1], input); // small texts only: they fit the pipe
    }
    ProgramRun run;
    run.status = awaitExit(pid, run.timedOut, &run.signal);
    if (mode == Input::OpenPipe) {
        close(pipeEnds[1]);
    }
    run.output = readFrom(fileno(out.get()));
    run.errors = readFrom(fileno(err.get()));
    return run;
}

LiveProgram::LiveProgram(Channel channel)
{
    if (channel != Channel::Terminal) {
        int toProgram[2];
        int fromProgram[2];
        if (pipe2(toProgram, O_CLOEXEC) != 0 || pipe2(fromProgram, O_CLOEXEC) != 0) {
            throw std::runtime_error("no pipe");
        }
        if (channel == Channel::FullPipe) {
            // The flag belongs to the open pipe, which the program shares.
            fcntl(fromProgram[1], F_SETFL, O_NONBLOCK);
            const std::string block(4096, 'x');
            for (ssize_t put = 0; put >= 0; put = write(fromProgram[1], block.data(), block.size())) {
                stuffed_ += static_cast<size_t>(put);
            }
        }
        pid_ = spawnProgram(toProgram[0], fromProgram[1], fromProgram[1]);
        close(toProgram[0]);
        close(fromProgram[1]);
        input_ = toProgram[1];
        output_ = fromProgram[0];
        return;
    }
    int terminal = -1;
    int device = -1;
    if (openpty(&terminal, &device, nullptr, nullptr, nullptr) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    closeOnExec(terminal);
    closeOnExec(device);
    pid_ = spawnProgram(device, device, device);
    close(device);
    input_ = terminal;
    output_ = terminal;
}

LiveProgram::~LiveProgram()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (input_ != output_ && input_ >= 0) {
        close(input_);
    }
    if (output_ >= 0) {
        close(output_);
    }
}

bool LiveProgram::awaitOutput(std::string_view wanted)
{
    const auto deadline = std::chrono::steady_clock::now() + TIME_LIMIT;
    while (!seen_.ends_with(wanted)) {
        if (!readMore(deadline)) {
            return false;
        }
    }
    return true;
}

bool LiveProgram::readMore(std::chrono::steady_clock::time_point deadline)
{
    const auto left
        = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd ready { output_, POLLIN, 0 };
    if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
        return false;
    }
    char chunk[256];
    const ssize_t got = read(output_, chunk, sizeof chunk);
    if (got <= 0) { // the end, or EIO once a terminal's last user is gone
        return false;
    }
    seen_.append(chunk, static_cast<size_t>(got));
    return true;
}

void LiveProgram::type(std::string_view text) const
{
    writeAll(input_, text);
}

bool LiveProgram::awaitTaken() const
{
    const auto deadline = std::chrono::steady_clock::now() + TIME_LIMIT;
    while (std::chrono::steady_clock::now() < deadline) {
        int waiting = 0; // a pipe's unread bytes, asked at either end
        if (ioctl(input_, FIONREAD, &waiting) != 0) {
            return false;
        }
        if (waiting == 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

void LiveProgram::drain()
{
    char chunk[4096];
    for (; stuffed_ > 0;) {
        const ssize_t got = read(output_, chunk, std::min(sizeof chunk, stuffed_));
        if (got <= 0) {
            throw std::runtime_error("the full pipe did not drain");
        }
        stuffed_ -= static_cast<size_t>(got);
    }
}

int LiveProgram::finish()
{
    if (input_ != output_) {
        close(input_); // the end of input; a terminal stays open instead
        input_ = -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + TIME_LIMIT;
    while (readMore(deadline)) { }
    bool timedOut = false;
    const int status = awaitExit(pid_, timedOut);
    pid_ = -1;
    return status;
}
