#include "platform.hpp"

#include <cstdlib>
#include <iostream>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

void clear_screen()
{
#ifdef _WIN32
    // The Windows console has its own command for this; whether it worked
    // does not matter, the next output simply follows the old one.
    static_cast<void>(std::system("cls"));
#else
    // Cursor home, erase the screen, erase the scrollback: the bytes `clear`
    // writes on a modern terminal, without starting a shell for it.
    std::cout << "\x1b[H\x1b[2J\x1b[3J" << std::flush;
#endif
}

void end_process(int status)
{
    _exit(status);
}
