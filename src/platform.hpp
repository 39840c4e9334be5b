#pragma once

// What differs between the POSIX terminal and the Windows console.

// Clears the console so that the next output starts at its top-left corner.
void clear_screen();

// Ends the process at once with `status`, without exit-time clean-up. Every
// line the program writes is already flushed, so nothing is lost.
[[noreturn]] void end_process(int status);
