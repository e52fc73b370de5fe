#pragma once

#include <cstdint>

namespace quillery {

namespace detail {
__extension__ typedef unsigned __int128 Uint128;
} // namespace detail

// A small, fast, reproducible random number generator: the paper grain must
// come out identical on every machine and at every start.
class SplitMix64 final
{
public:
    explicit constexpr SplitMix64(std::uint64_t seed)
        : m_state(seed)
    { }

    constexpr std::uint64_t next()
    {
        m_state += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in 0 ..< bound (bound > 0): the high word of a 64 × 64-bit
    // product, redrawn while the low word falls in the biased range.
    std::uint64_t below(std::uint64_t bound)
    {
        detail::Uint128 product = static_cast<detail::Uint128>(next()) * bound;
        auto low = static_cast<std::uint64_t>(product);
        if (low < bound) {
            const std::uint64_t threshold = (0 - bound) % bound;
            while (low < threshold) {
                product = static_cast<detail::Uint128>(next()) * bound;
                low = static_cast<std::uint64_t>(product);
            }
        }
        return static_cast<std::uint64_t>(product >> 64);
    }

    // Uniform in the closed range 0 … 1, in steps of 2^-53.
    double unit()
    {
        constexpr std::uint64_t steps = std::uint64_t(1) << 53;
        return static_cast<double>(below(steps + 1)) * (1.0 / static_cast<double>(steps));
    }

private:
    std::uint64_t m_state;
};

} // namespace quillery
