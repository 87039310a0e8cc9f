// The one failure that reading the sources can raise: a value that cannot be read or does not
// fit, a read past the end of a source, an index outside the track, the plan or the tables.
// It carries a short reason and, when the field reader raised it, the line and column of the
// field being read. The parser's entry point turns it into error 25 and records where it
// happened: at that field, or else at the last row read.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// The reasons, in the words the error line shows.
inline constexpr std::string_view kMotivoFineDelFile = "fine del file";
inline constexpr std::string_view kMotivoNumeroAtteso = "numero atteso";
inline constexpr std::string_view kMotivoFuoriIntervallo = "valore fuori intervallo";
inline constexpr std::string_view kMotivoPercorsoAssente = "percorso non ancora creato";
inline constexpr std::string_view kMotivoCellaFuori = "cella fuori dal percorso";
inline constexpr std::string_view kMotivoVoceFuori = "voce fuori dalla tabella";
inline constexpr std::string_view kMotivoPuntoFuori = "punto fuori dal tracciato";
inline constexpr std::string_view kMotivoTroppeGallerie = "troppe gallerie";

class ErroreEsecuzione : public std::runtime_error {
 public:
  // Raised away from the reader: the parse names the last row read.
  explicit ErroreEsecuzione(std::string_view motivo) : ErroreEsecuzione(motivo, 0, 0) {}
  // Raised by the reader at the field that begins at `riga`, `colonna`.
  ErroreEsecuzione(std::string_view motivo, int riga, int colonna)
      : std::runtime_error(std::string(motivo)), riga_(riga), colonna_(colonna) {}

  std::string motivo() const { return what(); }
  // 0 when the failure was not raised at a field.
  int riga() const { return riga_; }
  int colonna() const { return colonna_; }

 private:
  int riga_;
  int colonna_;
};
