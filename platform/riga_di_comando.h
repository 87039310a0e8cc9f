// The command line of a console tool, in the program's own encoding: every text inside the
// program is UTF-8. On Windows the 8-bit arguments hold the code page's letters, and the
// console shows bytes in its code page: the arguments are read again from the wide command
// line, and the console is told that the output is UTF-8. Elsewhere both already are.
#pragma once

#include <string>
#include <vector>

namespace piattaforma {

// The program's arguments, its name first, in UTF-8; sets the console's output to UTF-8.
std::vector<std::string> apri_riga_di_comando(int argc, char** argv);

}  // namespace piattaforma
