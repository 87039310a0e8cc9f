// The codes of the error state `codice_errore`: the problems found in the source data, and
// the one run-time failure of the parse. The numbers are those the error line carries.
// Each code has one meaning in words, said in one table.
#pragma once

#include <cstdint>
#include <string_view>

enum CodiceErrore : int32_t {
  kNessunErrore = 0,
  kLineaTroppoLunga = 1,                   // line length above 1,000,000 m
  kProgressivaNonMultipla = 2,             // a kilometre reference not a multiple of 50
  kPrimaRipetizioneNonMultipla = 3,        // first signal-repetition value
  kSecondaRipetizioneNonMultipla = 4,      // second signal-repetition value
  kRipetizioneSenzaCodici = 5,             // the row names neither 4 nor 9 codes
  kCartelloSuCellaOccupata = 6,            // sign board
  kAbbattimentoSuCellaOccupata = 7,        // "abbattimento" row
  kStazioneNonMultipla = 8,                // station position not a multiple of 50
  kLunghezzaStazioneNonMultipla = 9,       // station length not a multiple of 100
  kStazioniSuiCartelli = 10,               // the station entries reach the sign entries
  kNessunPostoPrimaDelSegnale = 11,        // pass: signal before a warning board
  kNessunPostoPrimaDelRallentamento = 12,  // pass: approach windows of a slow-down
  kNessunPostoNelRallentamento = 13,       // pass: inside a slow-down or at the signal after it
  kOltreIlPercorso = 15,                   // a row beyond the end of the track
  kSegnaleSuCellaOccupata = 16,
  kAvvisoSuCellaOccupata = 17,      // warning board of a slow-down
  kInizioSuCellaOccupata = 18,      // start of a slow-down
  kFineSuCellaOccupata = 19,        // end of a slow-down
  kPrimaDellAvvisoOccupata = 20,    // one of the four cells before a warning board
  kIndicatoreSuCellaOccupata = 21,  // speed-indicator board
  kStazioneTroppoVicina = 22,       // less than 350 m after the previous station's area
  kFermataAllInizio = 24,           // stop cell of index 1 or less
  kErroreEsecuzione = 25,           // a run-time failure while the sources are read
  kLineaMancante = 101,             // the line source does not exist
  kSenzaGenerale = 102,             // the line source has no "[generale]"
  kCurvaNonValida = 103,            // no curve class 1 to 6, or a plan beyond 1,000,000 points
};

// What a value of `codice_errore` means, in words; "codice sconosciuto" for a number that is
// no code (0 included).
std::string_view significato(int32_t codice);
