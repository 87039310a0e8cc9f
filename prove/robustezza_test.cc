#include "prove/robustezza.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "platform/disco_in_memoria.h"
#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"

namespace {

TEST(DividiIngresso, AlPrimoDoppioZero) {
  const std::string ingresso = unisci_sorgenti("linea", std::string("tre\0no", 6));
  const SorgentiDaIngresso s = dividi_ingresso(ingresso);
  EXPECT_EQ(s.linea, "linea");
  ASSERT_TRUE(s.treno.has_value());
  EXPECT_EQ(*s.treno, std::string_view("tre\0no", 6));
  EXPECT_FALSE(dividi_ingresso("solo linea").treno.has_value());
}

std::map<std::string, std::string> corpus() {
  std::map<std::string, std::string> ingressi;
  piattaforma::DiscoReale disco;
  for (const auto& voce : std::filesystem::directory_iterator(CORPUS_COMPILAZIONE)) {
    ingressi[voce.path().filename().string()] = disco.leggi(voce.path().string());
  }
  return ingressi;
}

// Every input of the fuzz corpus, the seeds and the inputs of earlier findings, compiles with
// every property holding, in memory and on the real disk.
TEST(Robustezza, OgniIngressoDelCorpus) {
  piattaforma::DiscoInMemoria in_memoria;
  piattaforma::DiscoReale reale;
  const piattaforma::CartellaTemporanea cartella;
  const auto ingressi = corpus();
  ASSERT_FALSE(ingressi.empty()) << "corpus vuoto";
  for (const auto& [nome, ingresso] : ingressi) {
    EXPECT_EQ(compila_e_verifica(ingresso, in_memoria, "/fuzz"), "") << nome;
    EXPECT_EQ(compila_e_verifica(ingresso, reale, cartella.percorso()), "") << nome;
    EXPECT_EQ(compila_e_verifica_in_memoria(ingresso), "") << nome;
  }
}

// Each input of the corpus leaves the error state and the bytes it left before the compile
// learnt to run on any disk; the real disk, the disk in memory and the compile as a function
// of the two texts agree.
TEST(Robustezza, OgniIngressoDelCorpusDaGliEsitiRegistrati) {
  std::map<std::string, std::string> attesi;
  piattaforma::DiscoReale reale;
  std::istringstream righe(reale.leggi(ESITI_CORPUS));
  for (std::string riga; std::getline(righe, riga);) {
    const size_t spazio = riga.find(' ');
    attesi[riga.substr(0, spazio)] = riga.substr(spazio + 1);
  }
  const piattaforma::CartellaTemporanea cartella;
  piattaforma::DiscoInMemoria in_memoria;
  const auto ingressi = corpus();
  EXPECT_EQ(ingressi.size(), attesi.size()) << "ogni ingresso del corpus ha il suo esito";
  for (const auto& [nome, ingresso] : ingressi) {
    EXPECT_EQ(esito_compilazione(ingresso, in_memoria, "/fuzz"), attesi[nome]) << nome;
    EXPECT_EQ(esito_compilazione(ingresso, reale, cartella.percorso()), attesi[nome]) << nome;
    EXPECT_EQ(esito_compilazione(ingresso), attesi[nome]) << nome;
  }
}

}  // namespace
