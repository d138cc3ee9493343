// One-line messages for the person running the program, written to standard
// error whether the log is on or off: "<program>: <text>". For what the user
// must hear about (a file that cannot be loaded, a lost display, a question
// box that cannot be shown); the log keeps the detail.
#pragma once

// printf-style text; the program name, a colon and a space go before it and a
// newline after it. The whole line is one write.
void ReportToUser(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The program name used as the prefix ("vko01" for the game).
const char* ReportProgramName();
