#include "stdin_feed.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// One in-memory file serves every input: rewritten, rewound, reused.
int standardInputFile()
{
    static const int file = [] {
        const int memory = memfd_create("fuzz-stdin", 0);
        const int sink = open("/dev/null", O_WRONLY);
        if (memory < 0 || sink < 0 || dup2(memory, STDIN_FILENO) < 0 || dup2(sink, STDOUT_FILENO) < 0) {
            std::abort();
        }
        close(sink);
        return memory;
    }();
    return file;
}

} // namespace

void feedStandardInput(const std::uint8_t* data, std::size_t size)
{
    const int file = standardInputFile();
    if (ftruncate(file, 0) != 0) {
        std::abort();
    }
    for (std::size_t written = 0; written < size;) {
        const ssize_t done = pwrite(file, data + written, size - written, static_cast<off_t>(written));
        if (done <= 0) {
            std::abort();
        }
        written += static_cast<std::size_t>(done);
    }
    // Drop what stdin buffered (or had pushed back) from the last input, then
    // read from the top. fseek alone would not do: it keeps the buffer when
    // the target offset lies inside it, and would replay the old bytes.
    // cppcheck-suppress fflushOnInputStream ; POSIX defines it for a seekable input stream, as this is
    std::fflush(stdin);
    if (lseek(STDIN_FILENO, 0, SEEK_SET) != 0) {
        std::abort();
    }
    std::clearerr(stdin);
}
