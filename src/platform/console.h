#pragma once
// The command line and the console of a console program, in UTF-8.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The program's arguments after its name, as typed. On Windows they are read from the
// wide command line: the ANSI one turns a character outside the code page into a
// look-alike, a fullwidth quotation mark into '"', a yen sign into '\'.
std::vector<std::string> program_arguments(int argc, char** argv);

// Writes the text to standard output or standard error: a console shows every
// character; a file or a pipe gets the UTF-8 bytes.
void write_console(std::FILE* stream, std::string_view text);

}  // namespace tarnwell
