#include "compiler/robustezza.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cartella_temporanea.h"
#include "platform/file_system.h"

namespace {

TEST(DividiIngresso, AlPrimoDoppioZero) {
  const std::string ingresso = unisci_sorgenti("linea", std::string("tre\0no", 6));
  const SorgentiDaIngresso s = dividi_ingresso(ingresso);
  EXPECT_EQ(s.linea, "linea");
  ASSERT_TRUE(s.treno.has_value());
  EXPECT_EQ(*s.treno, std::string_view("tre\0no", 6));
  EXPECT_FALSE(dividi_ingresso("solo linea").treno.has_value());
}

// Every input of the fuzz corpus, the seeds and the inputs of earlier findings, compiles with
// every property holding.
TEST(Robustezza, OgniIngressoDelCorpus) {
  piattaforma::CartellaTemporanea cartella;
  int ingressi = 0;
  for (const auto& voce : std::filesystem::directory_iterator(CORPUS_COMPILAZIONE)) {
    const std::string ingresso = piattaforma::leggi_file(voce.path().string());
    EXPECT_EQ(compila_e_verifica(ingresso, cartella.percorso()), "") << voce.path();
    ++ingressi;
  }
  EXPECT_GT(ingressi, 0) << "corpus vuoto";
}

}  // namespace
