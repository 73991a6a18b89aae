// Numbers print and read the same whatever locale the calling program set:
// here one whose decimal point is a comma and whose thousands are grouped.
#include "Console_IO_Utility.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#ifndef _WIN32
#include <bit>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
// Every Windows has it.
bool setCommaLocale()
{
    return std::setlocale(LC_ALL, "German") != nullptr;
}
#else
// glibc's localedef compiles the locale from a source and a character map
// written here, since a bare system has neither; the categories not given
// take their defaults. Its files are in the target's byte order, which
// under an emulator is not the host's. Once set, they can go.
bool setCommaLocale()
{
    const std::filesystem::path folder
        = std::filesystem::temp_directory_path() / ("console-io-locale-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "source") << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\n"
                                        "grouping 3;3\nEND LC_NUMERIC\n";
    std::ofstream charmap(folder / "charmap");
    charmap << "<code_set_name> COMMA_TEST\n<escape_char> /\nCHARMAP\n";
    for (int code = 0; code < 128; ++code) {
        char line[32];
        std::snprintf(line, sizeof line, "<U%04X> /x%02x\n", code, code);
        charmap << line;
    }
    charmap << "END CHARMAP\n";
    charmap.close();

    const std::string charmapPath = folder / "charmap";
    const std::string sourcePath = folder / "source";
    const std::string output = folder / "comma";
    const char* const argv[] = { "localedef", "--force", "--quiet",
        std::endian::native == std::endian::big ? "--big-endian" : "--little-endian", "-f",
        charmapPath.c_str(), "-i", sourcePath.c_str(), output.c_str(), nullptr };
    pid_t pid = 0;
    // It warns of the categories it makes up, and exits with 1 for that.
    if (posix_spawnp(&pid, "localedef", nullptr, nullptr, const_cast<char* const*>(argv), environ) == 0) {
        waitpid(pid, nullptr, 0);
    }
    setenv("LOCPATH", folder.c_str(), 1);
    const bool set = std::setlocale(LC_ALL, "comma") != nullptr;
    unsetenv("LOCPATH");
    std::filesystem::remove_all(folder);
    return set;
}
#endif

// A program that set such a locale still reads and prints its numbers as in
// the C locale: a '.' for the decimal point, and no grouping.
TEST(CommaLocale, NumbersPrintAndReadAsInTheCLocale)
{
    ASSERT_TRUE(setCommaLocale()) << "the comma locale could not be made or set";
    const std::string point = std::localeconv()->decimal_point;
    const std::string printedOnce = printed([] { printDouble(1234.5, 2); });
    double value = 0;
    const ConsoleRun run = runOnConsole("1234,5\n", [&] { value = promptForDouble(""); });
    double other = 0;
    runOnConsole("2.5", [&] { other = promptForDouble(""); });
    const std::string justified = printed([] { printDoubleJustified(-1.5, 1, 6, "RIGHT"); });
    const std::string zeros = printed([] { printDouble(7, 1100); });
    const std::string integers = printed([] {
        printInteger(1234567);
        printLongInteger(-1234567);
    });
    std::setlocale(LC_ALL, "C");

    ASSERT_EQ(point, ",") << "the locale's decimal point";
    EXPECT_EQ(printedOnce, "1234.50");
    EXPECT_EQ(value, 1234.0);
    EXPECT_EQ(run.unread, ",5\n");
    EXPECT_EQ(other, 2.5);
    EXPECT_EQ(justified, "  -1.5");
    EXPECT_EQ(zeros, "7." + std::string(1100, '0'));
    EXPECT_EQ(integers, "1234567-1234567");
}

} // namespace
