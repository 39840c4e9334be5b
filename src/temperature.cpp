#include "temperature.hpp"

double celsius = 0.0;
double reamur = 0.0;
double fahrenheit = 0.0;
double kelvin = 0.0;

// Every formula is written out left to right, one double operation at a
// time, from the source value: no ratio such as 1.8 is folded into a
// constant and no result is computed from another, so each printed digit is
// the same on every build. The offset to Kelvin is 273, not 273.15.

void convert_from_celsius()
{
    reamur = (4.0 * celsius) / 5.0;
    fahrenheit = ((9.0 * celsius) / 5.0) + 32.0;
    kelvin = celsius + 273.0;
}

void convert_from_reamur()
{
    celsius = (5.0 * reamur) / 4.0;
    fahrenheit = ((9.0 * reamur) / 4.0) + 32.0;
    kelvin = ((reamur * 5.0) / 4.0) + 273.0;
}

void convert_from_fahrenheit()
{
    celsius = ((fahrenheit - 32.0) * 5.0) / 9.0;
    reamur = ((fahrenheit - 32.0) * 4.0) / 9.0;
    kelvin = (((fahrenheit - 32.0) * 5.0) / 9.0) + 273.0;
}

void convert_from_kelvin()
{
    celsius = kelvin - 273.0;
    reamur = ((kelvin - 273.0) * 4.0) / 5.0;
    fahrenheit = (((kelvin - 273.0) * 9.0) / 5.0) + 32.0;
}
