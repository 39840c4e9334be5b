// The formulas bit for bit, and the dialogues' printed lines where the
// number format decides what the user sees.
#include <gtest/gtest.h>

#include <iostream>
#include <limits>
#include <sstream>
#include <string>

#include "dialogues.hpp"
#include "temperature.hpp"

namespace {

enum class Scale { celsius, reamur, fahrenheit, kelvin };

struct FormulaCase {
    Scale source;
    double value;
    // The three other scales in the order Celsius, Reamur, Fahrenheit,
    // Kelvin, the source left out.
    double first;
    double second;
    double third;
};

std::ostream& operator<<(std::ostream& out, const FormulaCase& c)
{
    const char* names[] = {"Celsius", "Reamur", "Fahrenheit", "Kelvin"};
    return out << names[static_cast<int>(c.source)] << ' ' << c.value;
}

class Formula : public testing::TestWithParam<FormulaCase> {};

TEST_P(Formula, GivesExactly)
{
    const FormulaCase& c = GetParam();
    // Stale values from an earlier case must not leak into this one.
    celsius = reamur = fahrenheit = kelvin = 12345.0;
    double* results[3] = {};
    switch (c.source) {
    case Scale::celsius:
        celsius = c.value;
        convert_from_celsius();
        results[0] = &reamur, results[1] = &fahrenheit, results[2] = &kelvin;
        EXPECT_EQ(celsius, c.value);
        break;
    case Scale::reamur:
        reamur = c.value;
        convert_from_reamur();
        results[0] = &celsius, results[1] = &fahrenheit, results[2] = &kelvin;
        EXPECT_EQ(reamur, c.value);
        break;
    case Scale::fahrenheit:
        fahrenheit = c.value;
        convert_from_fahrenheit();
        results[0] = &celsius, results[1] = &reamur, results[2] = &kelvin;
        EXPECT_EQ(fahrenheit, c.value);
        break;
    case Scale::kelvin:
        kelvin = c.value;
        convert_from_kelvin();
        results[0] = &celsius, results[1] = &reamur, results[2] = &fahrenheit;
        EXPECT_EQ(kelvin, c.value);
        break;
    }
    // EXPECT_EQ, not a tolerance: the last bit is part of the behaviour.
    EXPECT_EQ(*results[0], c.first);
    EXPECT_EQ(*results[1], c.second);
    EXPECT_EQ(*results[2], c.third);
}

constexpr double inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Worked, Formula,
    testing::Values(FormulaCase{Scale::celsius, 100, 80, 212, 373},
        FormulaCase{Scale::celsius, 37, 29.6, 98.6, 310},
        FormulaCase{Scale::celsius, -40, -32, -40, 233},
        FormulaCase{Scale::celsius, 25.5, 20.4, 77.9, 298.5},
        FormulaCase{Scale::reamur, 80, 100, 212, 373},
        FormulaCase{Scale::reamur, 10, 12.5, 54.5, 285.5},
        FormulaCase{Scale::fahrenheit, 212, 100, 80, 373},
        FormulaCase{
            Scale::fahrenheit, 0, -17.77777777777778, -14.222222222222221, 255.22222222222223},
        FormulaCase{Scale::kelvin, 0, -273, -218.4, -459.4},
        FormulaCase{Scale::kelvin, -10, -283, -226.4, -477.4}));

// Values where a folded ratio, a path through Celsius or the offset 273.15
// would change the result.
INSTANTIATE_TEST_SUITE_P(OrderOfOperations, Formula,
    testing::Values(
        // 37 * 1.8 + 32 would give 98.60000000000001; 0.1 * 0.8 would give
        // 0.08000000000000002.
        FormulaCase{Scale::celsius, 0.1, 0.08, 32.18, 273.1},
        // Reamur to Fahrenheit uses 9 and 4 directly; through Celsius these would
        // be -459.4 and 114.35.
        FormulaCase{Scale::reamur, -218.4, -273, -459.40000000000003, 0},
        FormulaCase{Scale::reamur, 36.6, 45.75, 114.35000000000001, 318.75},
        // Fahrenheit to Reamur uses 4 and 9 directly: just below 29.6, where
        // through Celsius it would be 29.6 itself.
        FormulaCase{Scale::fahrenheit, 98.6, 37, 29.599999999999998, 310},
        FormulaCase{
            Scale::fahrenheit, 50.5, 10.277777777777779, 8.222222222222221, 283.27777777777777},
        FormulaCase{
            Scale::kelvin, 273.15, 0.14999999999997726, 0.11999999999998182, 32.26999999999996},
        FormulaCase{Scale::kelvin, 273, 0, 0, 32}, FormulaCase{Scale::celsius, 0, 0, 32, 273}));

// Beyond the range of a double the products overflow to infinity; nothing
// is clamped or checked.
INSTANTIATE_TEST_SUITE_P(Extremes, Formula,
    testing::Values(FormulaCase{Scale::celsius, 1e308, inf, inf, 1e308},
        FormulaCase{Scale::celsius, 2e307, 1.6e307, inf, 2e307},
        FormulaCase{Scale::celsius, -1e308, -inf, -inf, -1e308},
        FormulaCase{Scale::reamur, 1e308, inf, inf, inf},
        FormulaCase{Scale::kelvin, 1e308, 1e308, inf, inf},
        FormulaCase{Scale::celsius, 5e-324, 5e-324, 32, 273}));

struct PrintedCase {
    const char* name;
    void (*dialogue)();
    const char* input;
    const char* expected;
};

// ctest names each case by what it prints, as it does the formula cases.
std::ostream& operator<<(std::ostream& out, const PrintedCase& c)
{
    return out << c.name;
}

class Dialogue : public testing::TestWithParam<PrintedCase> {};

// Runs one dialogue on `input` and returns everything it wrote.
std::string run_dialogue(void (*dialogue)(), const std::string& input)
{
    std::istringstream in(input);
    std::ostringstream out;
    std::streambuf* saved_in = std::cin.rdbuf(in.rdbuf());
    std::streambuf* saved_out = std::cout.rdbuf(out.rdbuf());
    dialogue();
    std::cin.rdbuf(saved_in);
    std::cout.rdbuf(saved_out);
    return out.str();
}

TEST_P(Dialogue, Prints)
{
    const PrintedCase& c = GetParam();
    EXPECT_EQ(run_dialogue(c.dialogue, c.input), c.expected);
}

// What the Celsius dialogue prints for 100, however it was typed.
const char* const hundred_celsius = "Suhu Celsius    : \n"
                                    "Suhu Reamur     : 80\n"
                                    "Suhu Fahrenheit : 212\n"
                                    "Suhu Kelvin     : 373\n";

INSTANTIATE_TEST_SUITE_P(NumberFormat, Dialogue,
    testing::Values(PrintedCase{"FahrenheitZero", from_fahrenheit, "0\n",
                        "Suhu Fahrenheit : \n"
                        "Suhu Celsius    : -17.7778\n"
                        "Suhu Reamur     : -14.2222\n"
                        "Suhu Kelvin     : 255.222\n"},
        PrintedCase{"MillionCelsiusInExponentForm", from_celsius, "1000000\n",
            "Suhu Celsius    : \n"
            "Suhu Reamur     : 800000\n"
            "Suhu Fahrenheit : 1.80003e+06\n"
            "Suhu Kelvin     : 1.00027e+06\n"},
        // Rounded to six digits first: 999999.4 stays fixed, 999999.5 becomes
        // 1e+06.
        PrintedCase{"JustBelowExponentForm", from_kelvin, "1000272.4\n",
            "Suhu Kelvin     : \n"
            "Suhu Celsius    : 999999\n"
            "Suhu Reamur     : 800000\n"
            "Suhu Fahrenheit : 1.80003e+06\n"},
        PrintedCase{"RoundsUpIntoExponentForm", from_kelvin, "1000272.5\n",
            "Suhu Kelvin     : \n"
            "Suhu Celsius    : 1e+06\n"
            "Suhu Reamur     : 800000\n"
            "Suhu Fahrenheit : 1.80003e+06\n"},
        PrintedCase{"NegativeZeroKeepsItsSign", from_celsius, "-0\n",
            "Suhu Celsius    : \n"
            "Suhu Reamur     : -0\n"
            "Suhu Fahrenheit : 32\n"
            "Suhu Kelvin     : 273\n"},
        PrintedCase{"SmallValuesInExponentForm", from_reamur, "0.0001\n",
            "Suhu Reamur     : \n"
            "Suhu Celsius    : 0.000125\n"
            "Suhu Fahrenheit : 32.0002\n"
            "Suhu Kelvin     : 273\n"},
        PrintedCase{"BelowTenToTheMinusFour", from_celsius, "0.0001\n",
            "Suhu Celsius    : \n"
            "Suhu Reamur     : 8e-05\n"
            "Suhu Fahrenheit : 32.0002\n"
            "Suhu Kelvin     : 273\n"},
        PrintedCase{"KelvinOffsetIs273", from_kelvin, "273.15\n",
            "Suhu Kelvin     : \n"
            "Suhu Celsius    : 0.15\n"
            "Suhu Reamur     : 0.12\n"
            "Suhu Fahrenheit : 32.27\n"},
        // Reamur from Fahrenheit 98.6 lies just below 29.6 and prints as 29.6.
        PrintedCase{"JustBelow29Point6", from_fahrenheit, "98.6\n",
            "Suhu Fahrenheit : \n"
            "Suhu Celsius    : 37\n"
            "Suhu Reamur     : 29.6\n"
            "Suhu Kelvin     : 310\n"},
        PrintedCase{"OverflowPrintsInfinity", from_celsius, "-1e308\n",
            "Suhu Celsius    : \n"
            "Suhu Reamur     : -inf\n"
            "Suhu Fahrenheit : -inf\n"
            "Suhu Kelvin     : -1e+308\n"},
        PrintedCase{"ExponentInput", from_celsius, "1e2\n", hundred_celsius}));

// Where a number ends: what follows it stays for the next read, so each of
// these converts 100 and never reaches the 7. A reader that took the rest
// would refuse the whole item and convert 7 instead.
INSTANTIATE_TEST_SUITE_P(NumberEnds, Dialogue,
    testing::Values(PrintedCase{"PointEndsTheExponent", from_celsius, "1e2.5 7\n", hundred_celsius},
        PrintedCase{"SecondExponentEndsTheNumber", from_celsius, "1e2e3 7\n", hundred_celsius},
        PrintedCase{"ExponentWithPlusSign", from_celsius, "1e+2 7\n", hundred_celsius}));

} // namespace
