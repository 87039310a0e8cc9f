// Texts in the program are UTF-8; the files hold them as Windows-1252 bytes, one byte per
// character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Windows-1252 bytes of a UTF-8 text. A character that Windows-1252 cannot hold, or bytes
// that are not UTF-8, are a fault of the program's own texts: std::logic_error, never a
// silent substitute.
std::string in_1252(std::string_view utf8);

// The same bytes appended to `byte`; after a failure `byte` may hold part of them.
void aggiungi_in_1252(std::string& byte, std::string_view utf8);

// The UTF-8 text of Windows-1252 bytes, for showing what a file holds. The five bytes that
// Windows-1252 leaves undefined become the control characters of the same number, so that
// nothing is lost and in_1252 does not take them back.
std::string da_1252(std::string_view byte);

// The Windows-1252 byte of one character; none for a character it cannot hold.
std::optional<char> byte_1252(char32_t c);
