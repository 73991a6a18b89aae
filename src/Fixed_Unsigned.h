// A natural number in a fixed number of 32-bit words, least significant
// first, for the exact steps of reading a number and of the wide float: no
// allocation, and no operation writes past its words. Each caller sizes its
// numbers so that no result needs more; a carry past the top would be
// dropped, never written out of bounds.
#ifndef FIXED_UNSIGNED_H
#define FIXED_UNSIGNED_H

#include <bit>
#include <cstdint>

template <int WORDS> struct FixedUnsigned {
    std::uint32_t word[static_cast<unsigned>(WORDS)] = {};
};

// The number of significant bits: 0 for zero.
template <int N> constexpr std::int64_t bitLength(const FixedUnsigned<N>& x)
{
    for (int i = N - 1; i >= 0; --i) {
        if (x.word[i] != 0) {
            return 32 * std::int64_t { i } + static_cast<int>(std::bit_width(x.word[i]));
        }
    }
    return 0;
}

// -1, 0 or 1 as a < b, a == b or a > b.
template <int N> constexpr int compare(const FixedUnsigned<N>& a, const FixedUnsigned<N>& b)
{
    for (int i = N - 1; i >= 0; --i) {
        if (a.word[i] != b.word[i]) {
            return a.word[i] < b.word[i] ? -1 : 1;
        }
    }
    return 0;
}

// a += b.
template <int N> constexpr void add(FixedUnsigned<N>& a, const FixedUnsigned<N>& b)
{
    std::uint64_t carry = 0;
    for (int i = 0; i < N; ++i) {
        const std::uint64_t sum = std::uint64_t { a.word[i] } + b.word[i] + carry;
        a.word[i] = static_cast<std::uint32_t>(sum);
        carry = sum >> 32;
    }
}

// a -= b, for a >= b.
template <int N> constexpr void subtract(FixedUnsigned<N>& a, const FixedUnsigned<N>& b)
{
    std::uint64_t borrow = 0;
    for (int i = 0; i < N; ++i) {
        const std::uint64_t difference = std::uint64_t { a.word[i] } - b.word[i] - borrow;
        a.word[i] = static_cast<std::uint32_t>(difference);
        borrow = difference >> 63;
    }
}

// x = x * factor + addend.
template <int N> constexpr void multiplyAdd(FixedUnsigned<N>& x, std::uint32_t factor, std::uint32_t addend)
{
    std::uint64_t carry = addend;
    for (int i = 0; i < N; ++i) {
        const std::uint64_t part = std::uint64_t { x.word[i] } * factor + carry;
        x.word[i] = static_cast<std::uint32_t>(part);
        carry = part >> 32;
    }
}

// a * b, into as many words as the caller gives it room for.
template <int P, int N>
constexpr FixedUnsigned<P> product(const FixedUnsigned<N>& a, const FixedUnsigned<N>& b)
{
    static_assert(P >= 2 * N, "a product needs the words of both factors");
    FixedUnsigned<P> result;
    for (int i = 0; i < N; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < N; ++j) {
            const std::uint64_t part = std::uint64_t { a.word[i] } * b.word[j] + result.word[i + j] + carry;
            result.word[i + j] = static_cast<std::uint32_t>(part);
            carry = part >> 32;
        }
        result.word[i + N] = static_cast<std::uint32_t>(carry);
    }
    return result;
}

// The 32 bits of x from bit `at` (at >= 0) up, zeros past its top.
template <int N> constexpr std::uint32_t bitsAt(const FixedUnsigned<N>& x, std::int64_t at)
{
    const std::int64_t index = at / 32;
    const std::uint64_t low = index < N ? x.word[index] : 0;
    const std::uint64_t high = index + 1 < N ? x.word[index + 1] : 0;
    return static_cast<std::uint32_t>((low | high << 32) >> (at % 32));
}

// x * 2^shift (shift >= 0) in P words; bits past the top are dropped.
template <int P, int N> constexpr FixedUnsigned<P> shifted(const FixedUnsigned<N>& x, std::int64_t shift)
{
    FixedUnsigned<P> result;
    const std::int64_t words = shift / 32;
    const auto bits = static_cast<int>(shift % 32);
    for (std::int64_t i = 0; i < N && i + words < P; ++i) {
        const std::uint64_t part = std::uint64_t { x.word[i] } << bits;
        result.word[i + words] |= static_cast<std::uint32_t>(part);
        if (i + words + 1 < P) {
            result.word[i + words + 1] |= static_cast<std::uint32_t>(part >> 32);
        }
    }
    return result;
}

// x *= 2^shift; nothing for shift <= 0.
template <int N> constexpr void shiftLeft(FixedUnsigned<N>& x, std::int64_t shift)
{
    if (shift > 0) {
        x = shifted<N>(x, shift);
    }
}

// Whether any bit of x below bit `at` (at >= 0) is set.
template <int N> constexpr bool anyBelow(const FixedUnsigned<N>& x, std::int64_t at)
{
    const std::int64_t whole = at / 32; // the words wholly below
    std::uint32_t any = 0;
    for (std::int64_t i = 0; i < N && i < whole; ++i) {
        any |= x.word[i];
    }
    if (whole < N) {
        any |= x.word[whole] & ((1U << (at % 32)) - 1U);
    }
    return any != 0;
}

#endif
