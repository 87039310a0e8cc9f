// The program as its users start it: a copy of the executable in a folder of its own.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/processo_di_prova.h"
#include "platform/cartella_temporanea.h"

namespace {

using piattaforma::CartellaTemporanea;

TEST(GeneraScenario, MostraAttendereEScriveNellaCartellaDellEseguibile) {
  CartellaTemporanea cartella;
  const EsitoProcesso esito = esegui_processo(copia_eseguibile_in(cartella.percorso()));
  EXPECT_EQ(esito.uscita, "Attendere\n");
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_EQ(esito.errori, "");
  EXPECT_TRUE(cartella.esiste("Tavena_Crostia_4417_note.txt"));
  EXPECT_TRUE(cartella.esiste("Tavena_Crostia_4417_scheda_treno.txt"));
}

TEST(GeneraScenario, UnFileNonScrivibileFermaIlLavoroConUnaRigaEStato2) {
  CartellaTemporanea cartella;
  const std::string eseguibile = copia_eseguibile_in(cartella.percorso());
  std::filesystem::create_directory(cartella.file("Tavena_Crostia_linea.txt"));
  const EsitoProcesso esito = esegui_processo(eseguibile);
  EXPECT_EQ(esito.stato, 2);
  EXPECT_EQ(esito.uscita, "Attendere\n");
  ASSERT_FALSE(esito.errori.empty());
  EXPECT_EQ(esito.errori.find('\n'), esito.errori.size() - 1) << "piu di una riga: " << esito.errori;
  EXPECT_NE(esito.errori.find(cartella.file("Tavena_Crostia_linea.txt")), std::string::npos)
      << esito.errori;
  EXPECT_NE(esito.errori.find("creare"), std::string::npos) << esito.errori;
  EXPECT_NE(esito.errori.find("Is a directory"), std::string::npos) << esito.errori;
  size_t file = 0;
  for (const auto& voce : std::filesystem::directory_iterator(cartella.percorso())) {
    file += voce.is_regular_file() ? 1 : 0;
  }
  EXPECT_EQ(file, 1u) << "oltre all'eseguibile e stato scritto altro";
}

}  // namespace
