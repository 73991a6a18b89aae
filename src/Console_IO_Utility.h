// Console input and output on the standard streams, as plain free functions.
//
// Printers come in pairs: a plain one, and a `Justified` one that places the
// text in a block of `blockSize` characters. The keyword "LEFT" pads after the
// text, "RIGHT" pads before it, and any other keyword centres it. A block that
// is not wider than the text adds no spaces.
//
// Nothing here keeps state, allocates or reports errors. Numbers print and
// read alike whatever the locale: '.' for the decimal point, no grouping.
// Widths and limits count bytes. C++11 or later.
#ifndef CONSOLE_IO_UTILITY_H
#define CONSOLE_IO_UTILITY_H

// Not inline: C++11 has no inline variables, and a constant int needs none.
// The filter passes over at most this many characters before it returns one.
constexpr int MAX_SKIPPED_CHARACTERS = 128;
// A line read stores at most this many characters...
constexpr int MAX_TEXT_LENGTH = 128;
// ...so the buffer it writes into must hold this many: the text and its end.
constexpr int TEXT_BUFFER_SIZE = MAX_TEXT_LENGTH + 1;

// Output.
void printCharacter(char outChar);
void printCharacters(int numChars, char outChar);
void printEndline();
void printEndlines(int numEndlines);
void printString(const char* outString);
void printStringJustified(const char* outString, int blockSize, const char* justify);
void printInteger(int value);
void printIntegerJustified(int value, int blockSize, const char* justify);
void printLongInteger(long value);
void printLongIntegerJustified(long value, int blockSize, const char* justify);
void printDouble(double value, int precision);
void printDoubleJustified(double value, int precision, int blockSize, const char* justify);

// Numeric prompts: write the prompt, then read one number as scanf's "%lf"
// and "%d" do by ISO C's rule, the same on every C library: white space is
// skipped, the longest text that is or begins a number is taken, and what
// follows stays in the input. A double is correctly rounded however many
// digits it has; an int out of range gives the nearest one. When no number
// is there, or only its start (such as "1e"), or the input has ended, they
// return 0; a text that does not begin a number stays in the input.
double promptForDouble(const char* promptString);
int promptForInteger(const char* promptString);

// The same reads, telling a failed one from a 0: true when a number was read
// whole, stored in `value`; false, with `value` left alone, when none was
// there, only its start, the input ended, or standard input's error
// indicator is set after the read. When the read fails and `failedText` is
// given (it must hold TEXT_BUFFER_SIZE characters), the rest of the line is
// consumed, newline and all, and `failedText` receives the text that failed:
// what the read took, then that line, at most MAX_TEXT_LENGTH characters. It
// is empty at the end of input. Without it, the text stays in the input.
bool promptForDoubleChecked(const char* promptString, double& value, char* failedText = nullptr);
bool promptForIntegerChecked(const char* promptString, int& value, char* failedText = nullptr);

// Discards the rest of the current input line, its newline included. Returns
// '\n', or EOF when the input has ended or failed first.
int clearRestOfLine();

// Filtered input. Leading control characters (codes below 32), the end of
// input and, unless `includeSpaces` is set, spaces are passed over, at most
// MAX_SKIPPED_CHARACTERS of them; the character after that is returned
// whatever it is.
// DEL and codes 128 to 255 are never passed over.
int clearLeadingCharacters(bool includeSpaces); // a code 0-255, or EOF
char getCharFiltered(bool includeSpaces); // '0' at the end of input
char getChar(); // getCharFiltered(false)

// Reads the rest of a line into `str` after passing over what comes before
// its first character (with getChar, or the filter when `viaClearLeading` is
// set). Stores at most MAX_TEXT_LENGTH characters, so `str` must hold
// TEXT_BUFFER_SIZE; the newline is consumed, never stored; the end of input
// ends the text.
void getInputString(char* str, bool viaClearLeading);
char promptForCharacter(const char* promptString);
void promptForString(const char* promptString, char* str);

#endif
