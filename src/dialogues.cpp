#include "dialogues.hpp"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <string>

#include "platform.hpp"
#include "temperature.hpp"

namespace {

using traits = std::char_traits<char>;

// All four labels are 18 characters, the colon in column 17, so prompts and
// results line up.
const char* const celsius_label = "Suhu Celsius    : ";
const char* const reamur_label = "Suhu Reamur     : ";
const char* const fahrenheit_label = "Suhu Fahrenheit : ";
const char* const kelvin_label = "Suhu Kelvin     : ";

// After a failed read, drops the rest of the unreadable item (up to the next
// blank or the end of input) so that the next read starts on fresh input
// instead of failing on the same bytes for ever.
void discard_rest_of_item()
{
    std::streambuf* input = std::cin.rdbuf();
    for (traits::int_type c = input->sgetc();
         !traits::eq_int_type(c, traits::eof()) && std::isspace(c) == 0; c = input->snextc()) {}
}

// Reads a number as GNU's C++ library reads a double in the classic locale,
// so that every build takes the same temperature from the same bytes: blanks
// skipped, then the longest run of sign, digits, one point and an exponent
// that a decimal number can start with; what follows stays pending. The run
// must be a whole number that fits a double; one too small for it is 0 or
// subnormal. LLVM's library, in the browser build, would take hexadecimal
// digits and "inf" too, and refuse tiny values. `value` changes only when a
// number is read.
bool read_number(double& value)
{
    const std::istream::sentry blanks_skipped(std::cin);
    if (!blanks_skipped) {
        return false;
    }
    std::streambuf* input = std::cin.rdbuf();
    traits::int_type c = input->sgetc();
    std::string text;
    const auto take = [&] {
        text += traits::to_char_type(c);
        c = input->snextc();
    };
    const auto is = [&](char wanted) {
        return traits::eq_int_type(c, traits::to_int_type(wanted));
    };

    if (is('+') || is('-')) {
        take();
    }
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (;;) {
        if (c >= '0' && c <= '9') {
            digits = true;
            take();
        } else if (is('.') && !point && !exponent) {
            point = true;
            take();
        } else if ((is('e') || is('E')) && digits && !exponent) {
            exponent = true;
            take();
            if (is('+') || is('-')) {
                take();
            }
        } else {
            break;
        }
    }
    if (traits::eq_int_type(c, traits::eof())) {
        std::cin.setstate(std::ios::eofbit);
    }
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || std::isinf(number)) {
        std::cin.setstate(std::ios::failbit);
        return false;
    }
    value = number;
    return true;
}

// Asks for a temperature until one can be read into `source`, which keeps
// its old value meanwhile.
void read_temperature(const char* label, double& source)
{
    for (;;) {
        std::cout << label;
        if (read_number(source)) {
            return;
        }
        if (std::cin.eof()) {
            // The conversion asked for cannot be done any more: finish the
            // prompt's line and report failure.
            std::cout << std::endl;
            end_process(1);
        }
        std::cin.clear();
        discard_rest_of_item();
        report_invalid_code();
    }
}

void write_result(const char* label, double value)
{
    std::cout << label << value << std::endl;
}

} // namespace

void report_invalid_code()
{
    clear_screen();
    std::cout << "Kode yang Anda masukkan salah!!" << std::endl;
    std::cout << std::endl;
}

void from_celsius()
{
    read_temperature(celsius_label, celsius);
    convert_from_celsius();
    std::cout << std::endl;
    write_result(reamur_label, reamur);
    write_result(fahrenheit_label, fahrenheit);
    write_result(kelvin_label, kelvin);
}

void from_reamur()
{
    read_temperature(reamur_label, reamur);
    convert_from_reamur();
    std::cout << std::endl;
    write_result(celsius_label, celsius);
    write_result(fahrenheit_label, fahrenheit);
    write_result(kelvin_label, kelvin);
}

void from_fahrenheit()
{
    read_temperature(fahrenheit_label, fahrenheit);
    convert_from_fahrenheit();
    std::cout << std::endl;
    write_result(celsius_label, celsius);
    write_result(reamur_label, reamur);
    write_result(kelvin_label, kelvin);
}

void from_kelvin()
{
    read_temperature(kelvin_label, kelvin);
    convert_from_kelvin();
    std::cout << std::endl;
    write_result(celsius_label, celsius);
    write_result(reamur_label, reamur);
    write_result(fahrenheit_label, fahrenheit);
}
