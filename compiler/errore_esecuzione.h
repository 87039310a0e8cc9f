// The one failure that reading the sources can raise: a value that cannot be read or does not
// fit, a read past the end of a source, an index outside the track, the plan or the tables.
// The parser's entry point turns it into error 25.
#pragma once

#include <stdexcept>
#include <string>

class ErroreEsecuzione : public std::runtime_error {
 public:
  explicit ErroreEsecuzione(const std::string& messaggio) : std::runtime_error(messaggio) {}
};
