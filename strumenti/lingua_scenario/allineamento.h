// A source with its values aligned in columns, for reading. Only the spaces between a comma and
// the field after it change, and only where a field follows on the same line: the field reader
// skips those spaces whatever their number, so the aligned source compiles to the same files.
#pragma once

#include <string>
#include <string_view>

// `testo` is Windows-1252 bytes, one column per byte. Lines that hold values and follow each
// other form a block; in a block the k-th value of every line starts at the same column.
std::string allinea_colonne(std::string_view testo);
