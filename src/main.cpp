// The converter's entry and its only control loop: show the menu, run the
// chosen dialogue, ask whether to go again.
#include <iostream>

#include "dialogues.hpp"
#include "platform.hpp"

namespace {

void show_menu()
{
    std::cout << "Program Dalemira " << std::endl;
    std::cout << "=============================================" << std::endl;
    std::cout << "A = Celsius ke Reamur, Fahrenheit, Kelvin" << std::endl;
    std::cout << "B = Reamur ke Celsius, Fahrenheit, Kelvin" << std::endl;
    std::cout << "C = Fahrenheit ke Celsius, Reamur, Kelvin" << std::endl;
    std::cout << "D = Kelvin ke Celsius, Reamur, Fahrenheit" << std::endl;
    std::cout << "=============================================" << std::endl;
    std::cout << std::endl;
}

// Reads the first non-blank character typed. Once input has ended no answer
// can ever come, so that counts as the user leaving: finish the prompt's line
// and end normally.
char read_letter()
{
    char letter = '\0';
    if (!(std::cin >> letter)) {
        std::cout << std::endl;
        end_process(0);
    }
    return letter;
}

// Runs the chosen dialogue; false if `pilih` names none.
bool run_dialogue(char pilih)
{
    switch (pilih) {
    case 'a':
    case 'A':
        from_celsius();
        return true;
    case 'b':
    case 'B':
        from_reamur();
        return true;
    case 'c':
    case 'C':
        from_fahrenheit();
        return true;
    case 'd':
    case 'D':
        from_kelvin();
        return true;
    default:
        return false;
    }
}

[[noreturn]] void menu_loop()
{
    for (;;) {
        show_menu();
        std::cout << "Masukkan Pilihan : ";
        const char pilih = read_letter();
        std::cout << std::endl;
        if (!run_dialogue(pilih)) {
            report_invalid_code();
            continue;
        }
        // Ask until the answer is yes; a no ends the process right here and
        // leaves the last screen as it is.
        for (;;) {
            std::cout << std::endl;
            std::cout << "Ingin coba lagi (Y/N) ? ";
            const char coba_lagi = read_letter();
            if (coba_lagi == 'Y' || coba_lagi == 'y') {
                break;
            }
            if (coba_lagi == 'N' || coba_lagi == 'n') {
                end_process(0);
            }
            report_invalid_code();
        }
        clear_screen();
    }
}

} // namespace

int main()
{
    menu_loop();
}
