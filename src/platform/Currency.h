#pragma once

#include <QString>
#include <cmath>
#include <cstdint>

namespace platform {

// Money: fixed point with four decimal places, held as a count of 1/10000 units.
class Currency
{
public:
    constexpr Currency() = default;
    static constexpr Currency FromRaw(std::int64_t raw) { Currency c; c.m_raw = raw; return c; }
    // Rounds to four decimals; a half goes to the even neighbour (banker's rounding).
    static Currency FromDouble(double value)
    {
        const double scaled = value * 10000.0;
        double r = std::nearbyint(scaled); // default rounding mode is to-nearest-even
        // Decimal texts such as 0.03125 are not exact in binary; treat values within a
        // rounding error of a half as that half.
        const double frac = scaled - std::floor(scaled);
        if (std::fabs(frac - 0.5) < 1e-7) {
            const double down = std::floor(scaled);
            r = (std::fmod(down, 2.0) == 0.0) ? down : down + 1.0;
        }
        return FromRaw(static_cast<std::int64_t>(r));
    }
    constexpr std::int64_t Raw() const { return m_raw; }
    double ToDouble() const { return static_cast<double>(m_raw) / 10000.0; }
    QString ToString() const { return QString::number(ToDouble(), 'g', 19); }

    friend constexpr bool operator==(Currency a, Currency b) { return a.m_raw == b.m_raw; }
    friend constexpr auto operator<=>(Currency a, Currency b) { return a.m_raw <=> b.m_raw; }
    friend constexpr Currency operator+(Currency a, Currency b) { return FromRaw(a.m_raw + b.m_raw); }
    friend constexpr Currency operator-(Currency a, Currency b) { return FromRaw(a.m_raw - b.m_raw); }

private:
    std::int64_t m_raw = 0;
};

} // namespace platform
