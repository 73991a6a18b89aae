#include "program_run.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr auto TIME_LIMIT = std::chrono::seconds(10);

std::string readAll(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text += static_cast<char>(c);
    }
    return text;
}

std::FILE* temporary()
{
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        throw std::runtime_error("no temporary file");
    }
    return file;
}

} // namespace

ProgramRun runProgram(const char* program, std::string_view input, Input mode, const char* outputPath)
{
    std::FILE* in = temporary();
    std::FILE* out = temporary();
    std::FILE* err = temporary();
    int pipeEnds[2] = { -1, -1 };

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    switch (mode) {
    case Input::File:
        std::fwrite(input.data(), 1, input.size(), in);
        std::fflush(in);
        std::rewind(in);
        posix_spawn_file_actions_adddup2(&actions, fileno(in), STDIN_FILENO);
        break;
    case Input::OpenPipe:
        if (pipe(pipeEnds) != 0) {
            throw std::runtime_error("no pipe");
        }
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
        break;
    case Input::Closed:
        posix_spawn_file_actions_addclose(&actions, STDIN_FILENO);
        break;
    }
    if (outputPath != nullptr) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath, O_WRONLY, 0);
    } else {
        posix_spawn_file_actions_adddup2(&actions, fileno(out), STDOUT_FILENO);
    }
    posix_spawn_file_actions_adddup2(&actions, fileno(err), STDERR_FILENO);

    char* const argv[] = { const_cast<char*>(program), nullptr };
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start the program");
    }

    if (mode == Input::OpenPipe) {
        close(pipeEnds[0]);
        // Small texts only: they fit the pipe, so this never blocks.
        if (write(pipeEnds[1], input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
            throw std::runtime_error("cannot write to the program");
        }
    }

    ProgramRun run;
    int wstatus = 0;
    const auto deadline = std::chrono::steady_clock::now() + TIME_LIMIT;
    while (waitpid(pid, &wstatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            run.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (pipeEnds[1] >= 0) {
        close(pipeEnds[1]);
    }
    run.status = !run.timedOut && WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    run.output = readAll(out);
    run.errors = readAll(err);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return run;
}
