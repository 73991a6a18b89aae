// Gives each fuzz input to the code under test as its standard input.
#ifndef STDIN_FEED_H
#define STDIN_FEED_H

#include <cstddef>
#include <cstdint>

// Standard input reads exactly these bytes, then ends; standard output is
// thrown away.
void feedStandardInput(const std::uint8_t* data, std::size_t size);

#endif
