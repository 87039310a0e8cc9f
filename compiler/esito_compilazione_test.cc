#include "compiler/esito_compilazione.h"

#include <gtest/gtest.h>

namespace {

EsitoCompilazione esito(int32_t codice, int32_t posizione, Luogo luogo, std::string motivo = {},
                        std::optional<Luogo> nota = std::nullopt) {
  EsitoCompilazione e;
  e.codice = codice;
  e.posizione = posizione;
  e.luogo = std::move(luogo);
  e.motivo = std::move(motivo);
  e.nota = std::move(nota);
  return e;
}

TEST(EsitoCompilazione, DescrizioneDelProblemaFinisceColLuogo) {
  const struct {
    EsitoCompilazione esito;
    const char* atteso;
  } casi[] = {
      {esito(16, 4500, {"Tavena_Crostia_4417-.txt", 79, 14}, "",
             Luogo{"Tavena_Crostia_4417-.txt", 70, 1}),
       "codice_errore 16, posizione_errore 4500 m: un segnale cade su una cella occupata; "
       "vedi Tavena_Crostia_4417-.txt:70:1 (Tavena_Crostia_4417-.txt:79:14)"},
      {esito(25, 0, {"Prova_linea.txt", 3, 22}, "numero atteso"),
       "codice_errore 25, posizione_errore 0 m: errore durante la lettura delle sorgenti: "
       "numero atteso (Prova_linea.txt:3:22)"},
      {esito(101, 7, {"Prova_linea.txt", 0, 0}),
       "codice_errore 101, posizione_errore 7 m: la sorgente della linea non esiste "
       "(Prova_linea.txt)"},
      {esito(15, 1234, {}),
       "codice_errore 15, posizione_errore 1234 m: un elemento sta oltre la fine del percorso"},
  };
  for (const auto& c : casi) {
    EXPECT_EQ(descrizione_problema(c.esito), c.atteso);
  }
}

}  // namespace
