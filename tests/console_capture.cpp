#include "console_capture.h"

#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace {

std::string readAll(std::FILE* file)
{
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text += static_cast<char>(c);
    }
    return text;
}

} // namespace

ConsoleRun runOnConsole(std::string_view input, const std::function<void()>& call)
{
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    if (in == nullptr || out == nullptr) {
        throw std::runtime_error("no temporary file");
    }
    std::fwrite(input.data(), 1, input.size(), in);
    std::fflush(in);

    std::fflush(stdout);
    const int savedIn = dup(STDIN_FILENO);
    const int savedOut = dup(STDOUT_FILENO);
    dup2(fileno(in), STDIN_FILENO);
    dup2(fileno(out), STDOUT_FILENO);
    // Drop whatever stdin buffered from earlier input, then read the new file
    // from its top. fseek alone would keep the buffer when offset 0 lies
    // inside it, replaying the earlier bytes.
    // cppcheck-suppress fflushOnInputStream ; POSIX defines it for a seekable input stream, as this is
    std::fflush(stdin);
    lseek(STDIN_FILENO, 0, SEEK_SET);
    std::clearerr(stdin);

    call();

    std::fflush(stdout);
    ConsoleRun run;
    run.unread = readAll(stdin);

    dup2(savedOut, STDOUT_FILENO);
    dup2(savedIn, STDIN_FILENO);
    close(savedOut);
    close(savedIn);
    std::clearerr(stdin);

    std::rewind(out);
    run.output = readAll(out);
    std::fclose(out);
    std::fclose(in);
    return run;
}

std::string printed(const std::function<void()>& call)
{
    return runOnConsole("", call).output;
}
