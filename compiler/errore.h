// The error report. `errore` ends the run with the message " Errore n. " and a number; it
// leaves by ErroreTerminale, which the program's top level shows and turns into the end of
// the process, so that nothing after the call runs.
#pragma once

#include <stdexcept>
#include <string>

class ErroreTerminale : public std::runtime_error {
 public:
  explicit ErroreTerminale(const std::string& messaggio) : std::runtime_error(messaggio) {}
};

[[noreturn]] void errore(const std::string& a);
