// The thin layer between the run and the machine it runs on: the wait window, the message
// that ends a failed run, the end of the process and the folder that holds the executable.
// On a console the window is a line on standard output and the messages are lines on
// standard error, and nothing waits for input; a windowed build puts a real window and real
// message boxes behind the same calls.
#pragma once

#include <string>

namespace piattaforma {

// Process exit statuses: a run that ends through an error message, and one that ends through
// a failure nobody handled (a file that cannot be created, deleted or written).
inline constexpr int kStatoErrore = 1;
inline constexpr int kStatoGuasto = 2;

// Writes `riga` and a line end on standard output, and nothing else: no window. A windowed
// program on Windows has no standard output unless it was started with one (redirected); it
// then writes on the console of the program that started it, if there is one.
void scrivi_riga(const std::string& riga);

// Shows the wait window with its label "Attendere" and paints it once; returns at once.
void mostra_attesa();

// Shows `messaggio` as the modal error message and ends the process with kStatoErrore.
[[noreturn]] void mostra_errore_e_termina(const std::string& messaggio);

// Reports a run that finished with a problem in its data (a line of text) and ends the
// process with kStatoErrore.
[[noreturn]] void segnala_problema_e_termina(const std::string& descrizione);

// Reports a failure that nobody handled and ends the process with kStatoGuasto.
[[noreturn]] void segnala_guasto_e_termina(const std::string& descrizione);

// The folder that holds the running executable, without a trailing separator.
std::string cartella_eseguibile();

}  // namespace piattaforma
