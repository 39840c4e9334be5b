#pragma once

// The four conversion dialogues: each asks for one temperature in its source
// scale and writes it in the three other scales, one line each.
void from_celsius();
void from_reamur();
void from_fahrenheit();
void from_kelvin();

// Clears the screen and tells the user that what they typed is no valid
// answer, before the question is asked again.
void report_invalid_code();
