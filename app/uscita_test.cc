#include "app/uscita.h"

#include <gtest/gtest.h>

#include "platform/piattaforma.h"

namespace {

EsitoCompilazione esito(int32_t codice, bool file_scritti, Luogo luogo = {},
                        std::string motivo = {}, std::optional<Luogo> nota = std::nullopt) {
  EsitoCompilazione e;
  e.codice = codice;
  e.posizione = codice == 7 ? 1010 : 0;
  e.luogo = std::move(luogo);
  e.motivo = std::move(motivo);
  e.nota = std::move(nota);
  e.file_scritti = file_scritti;
  return e;
}

TEST(UscitaDellaCorsa, StatoERigaPerOgniEsito) {
  const struct {
    const char* caso;
    EsitoCompilazione esito;
    int stato;
    const char* riga;
  } casi[] = {
      {"compilazione pulita", esito(0, true), 0, ""},
      {"problema nei dati, file scritti",
       esito(7, true, {"Tavena_Crostia_4417-.txt", 79, 14}, "",
             Luogo{"Tavena_Crostia_4417-.txt", 78, 1}),
       piattaforma::kStatoErrore,
       "genera_scenario: codice_errore 7, posizione_errore 1010 m: un punto di abbattimento "
       "cade su una cella occupata; vedi Tavena_Crostia_4417-.txt:78:1 "
       "(Tavena_Crostia_4417-.txt:79:14)"},
      {"nessun percorso: la sorgente della linea manca",
       esito(101, false, {"Tavena_Crostia_linea.txt", 0, 0}), piattaforma::kStatoErrore,
       "genera_scenario: codice_errore 101, posizione_errore 0 m: la sorgente della linea non "
       "esiste (Tavena_Crostia_linea.txt)"},
      {"errore di lettura", esito(25, false, {"Tavena_Crostia_linea.txt", 12, 9}, "fine del file"),
       piattaforma::kStatoErrore,
       "genera_scenario: codice_errore 25, posizione_errore 0 m: errore durante la lettura "
       "delle sorgenti: fine del file (Tavena_Crostia_linea.txt:12:9)"},
      {"nessun percorso senza codice", esito(0, false), piattaforma::kStatoErrore,
       "genera_scenario: nessun percorso, nessun file binario"},
  };
  for (const auto& c : casi) {
    const Uscita u = uscita_della_corsa(c.esito);
    EXPECT_EQ(u.stato, c.stato) << c.caso;
    EXPECT_EQ(u.riga, c.riga) << c.caso;
  }
  EXPECT_EQ(piattaforma::kStatoErrore, 1);
}

}  // namespace
