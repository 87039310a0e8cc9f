// The round trip that any compile without a data error must survive: its three files decompiled
// into two sources, and those compiled again to the very same bytes. Used by the fuzz target of
// the decompiler and by the tests that replay the compile's corpus and long generated lines.
#pragma once

#include <string>
#include <string_view>

// Compiles the two sources (for scenario "Prova", train "1"); when the compile ends without an
// error code, decompiles its files and compiles the result. Returns an empty text when the
// compile had an error (nothing to check) or the round trip gives the same bytes, else what
// went wrong.
std::string andata_e_ritorno(std::string_view linea, std::string_view treno);
