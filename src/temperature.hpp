#pragma once

// The temperature state: one value per scale, zero at start, kept for the
// whole process. A conversion stores the typed value in its source variable
// and derives the other three from it.
extern double celsius;
extern double reamur;
extern double fahrenheit;
extern double kelvin;

// Each derives the three other scales from its source variable alone.
void convert_from_celsius();
void convert_from_reamur();
void convert_from_fahrenheit();
void convert_from_kelvin();
