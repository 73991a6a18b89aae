// Runs code with standard input read from a given text and standard output
// captured, for in-process tests of the console module.
#ifndef CONSOLE_CAPTURE_H
#define CONSOLE_CAPTURE_H

#include <functional>
#include <string>
#include <string_view>

struct ConsoleRun {
    std::string output; // everything the call wrote to standard output
    std::string unread; // what the call left in standard input
};

ConsoleRun runOnConsole(std::string_view input, const std::function<void()>& call);

// What the call writes, with empty input.
std::string printed(const std::function<void()>& call);

#endif
