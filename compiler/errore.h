// The error report. `errore` ends the run with the message " Errore n. " and a number; it
// leaves by ErroreTerminale, which the program's top level shows and turns into the end of
// the process, so that nothing after the call runs. `descrizione_codice` says in words what a
// code of the error state means.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

class ErroreTerminale : public std::runtime_error {
 public:
  explicit ErroreTerminale(const std::string& messaggio) : std::runtime_error(messaggio) {}
};

[[noreturn]] void errore(const std::string& a);

// What a value of `codice_errore` means; a code that no check sets is said to be unknown.
std::string descrizione_codice(int32_t codice);
