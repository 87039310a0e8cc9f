// Reads a source field by field, never line by line. A text field runs to the next comma or
// line end; a number also ends at a space. Both skip the spaces before them and consume the
// comma or line end that closes them (a number first consumes its trailing spaces), so the
// source is at its end exactly when nothing is left after the last field read. A line ends at
// CR LF, a lone CR or a lone LF; only byte 0x20 is a space.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class LettoreCampi {
 public:
  explicit LettoreCampi(std::string testo) : testo_(std::move(testo)) {}

  bool alla_fine() const { return pos_ >= testo_.size(); }

  // One text field, inner and trailing spaces kept.
  std::string leggi_testo();

  // One number: an optional minus and decimal digits; an empty field reads 0. Anything else
  // ("numero atteso"), a value outside the target's width ("valore fuori intervallo"), or a
  // read that starts at the end of the source ("fine del file") raises ErroreEsecuzione at
  // the field.
  int32_t leggi_intero();
  int16_t leggi_intero_16();
  uint8_t leggi_intero_8();

  // Line and column (from 1) where the last field began.
  int riga() const { return riga_campo_; }
  int colonna() const { return colonna_campo_; }

  // Where the reader stands, for a look that reads nothing: at the start of a line (the last
  // field ended with its line), on which line, and the column where the next field would begin.
  bool a_inizio_riga() const { return pos_ == inizio_riga_; }
  int riga_in_corso() const { return riga_; }
  int colonna_prossimo_campo() const;

 private:
  int64_t leggi_numero();
  int64_t leggi_tra(int64_t minimo, int64_t massimo);
  void inizia_campo();
  bool a_fine_riga() const;
  void consuma_fine_riga();
  [[noreturn]] void fallisci(std::string_view motivo) const;

  std::string testo_;
  size_t pos_ = 0;
  int riga_ = 1;
  size_t inizio_riga_ = 0;
  int riga_campo_ = 0;
  int colonna_campo_ = 0;
};
