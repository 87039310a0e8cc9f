#include "strumenti/lingua_scenario/allineamento.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "compiler/compila.h"
#include "prove/robustezza.h"
#include "prove/sorgenti_estese.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

TEST(AllineaColonne, OnlyTheSpacesBeforeAFieldChange) {
  struct Caso {
    const char* testo;
    const char* atteso;
  };
  const Caso casi[] = {
      {"a, 1, 2\r\nbbb,10,3\r\n", "a,   1,  2\r\nbbb, 10, 3\r\n"},
      // Spaces after a number are its own, and those before a line end or the end stay.
      {"a, 1 ,2\nb,3, \n", "a, 1 , 2\nb, 3, \n"},
      {"x,  ", "x,  "},
      // A line without a comma ends a block.
      {"a,1\n[curve]\nlungo,1\n", "a, 1\n[curve]\nlungo, 1\n"},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(allinea_colonne(c.testo), c.atteso) << c.testo;
  }
}

// The aligned sources compile to the same three files as the sources as they were.
std::string differenza(std::string_view linea, std::optional<std::string_view> treno) {
  const OpzioniCompilazione opzioni{"Prova", "1", true};
  const Compilazione prima = compila(linea, treno, opzioni);
  const std::string linea_allineata = allinea_colonne(linea);
  const std::optional<std::string> treno_allineato =
      treno ? std::optional(allinea_colonne(*treno)) : std::nullopt;
  const Compilazione dopo = compila(linea_allineata, treno_allineato, opzioni);
  if (prima.ha_immagini() != dopo.ha_immagini()) {
    return "immagini solo da una delle due";
  }
  if (!prima.ha_immagini()) {
    return prima.problemi.size() == dopo.problemi.size() ? "" : "problemi diversi";
  }
  const Immagini& a = *prima.immagini;
  const Immagini& b = *dopo.immagini;
  if (a.tracciato != b.tracciato) {
    return "tracciato diverso";
  }
  if (a.voci != b.voci) {
    return "voci diverse";
  }
  return a.percorso == b.percorso ? "" : "percorso diverso";
}

TEST(AllineaColonne, TheBuiltInSourcesGiveTheSameFiles) {
  const std::string linea = testo_delle_righe(dati_linea());
  const std::string treno = testo_delle_righe(dati_treno());
  EXPECT_NE(allinea_colonne(linea), linea);
  EXPECT_EQ(differenza(linea, treno), "");
  const SorgentiEstese estese = sorgenti_estese(1000000);
  EXPECT_EQ(differenza(estese.linea, estese.treno), "");
}

TEST(AllineaColonne, EveryInputOfTheCorpusGivesTheSameFiles) {
  int lette = 0;
  for (const auto& voce : std::filesystem::directory_iterator(CORPUS_COMPILAZIONE)) {
    std::ifstream f(voce.path(), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    const std::string ingresso = s.str();
    const SorgentiDaIngresso sorgenti = dividi_ingresso(ingresso);
    EXPECT_EQ(differenza(sorgenti.linea, sorgenti.treno), "") << voce.path();
    ++lette;
  }
  EXPECT_GT(lette, 0);
}

}  // namespace
