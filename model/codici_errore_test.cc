#include "model/codici_errore.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace {

// The codes keep the numbers that the error line and earlier runs carry, and every one of
// them, and nothing else, has a meaning of its own.
TEST(CodiciErrore, OgniCodiceHaIlSuoNumeroEUnSignificatoProprio) {
  const struct {
    CodiceErrore codice;
    int32_t numero;
  } casi[] = {
      {kLineaTroppoLunga, 1},
      {kProgressivaNonMultipla, 2},
      {kPrimaRipetizioneNonMultipla, 3},
      {kSecondaRipetizioneNonMultipla, 4},
      {kRipetizioneSenzaCodici, 5},
      {kCartelloSuCellaOccupata, 6},
      {kAbbattimentoSuCellaOccupata, 7},
      {kStazioneNonMultipla, 8},
      {kLunghezzaStazioneNonMultipla, 9},
      {kStazioniSuiCartelli, 10},
      {kNessunPostoPrimaDelSegnale, 11},
      {kNessunPostoPrimaDelRallentamento, 12},
      {kNessunPostoNelRallentamento, 13},
      {kOltreIlPercorso, 15},
      {kSegnaleSuCellaOccupata, 16},
      {kAvvisoSuCellaOccupata, 17},
      {kInizioSuCellaOccupata, 18},
      {kFineSuCellaOccupata, 19},
      {kPrimaDellAvvisoOccupata, 20},
      {kIndicatoreSuCellaOccupata, 21},
      {kStazioneTroppoVicina, 22},
      {kFermataAllInizio, 24},
      {kErroreEsecuzione, 25},
      {kLineaMancante, 101},
      {kSenzaGenerale, 102},
      {kCurvaNonValida, 103},
  };
  std::set<std::string_view> significati;
  for (const auto& c : casi) {
    EXPECT_EQ(static_cast<int32_t>(c.codice), c.numero);
    EXPECT_NE(significato(c.codice), "codice sconosciuto") << c.numero;
    significati.insert(significato(c.codice));
  }
  EXPECT_EQ(significati.size(), std::size(casi)) << "two codes share a meaning";
  for (int32_t numero : {0, 14, 23, 26, 100, 104, -1}) {
    EXPECT_EQ(significato(numero), "codice sconosciuto") << numero;
  }
}

}  // namespace
