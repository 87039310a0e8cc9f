// Row kinds are recognised by words contained anywhere in the keyword field, never by
// equality. Most tests ignore letter case; a few in the line source's general section do not.
#pragma once

#include <string_view>

// `riga` contains `parola`, ignoring the case of ASCII letters.
bool contiene(std::string_view riga, std::string_view parola);

// `riga` contains `parola` exactly as written.
inline bool contiene_esatto(std::string_view riga, std::string_view parola) {
  return riga.find(parola) != std::string_view::npos;
}
