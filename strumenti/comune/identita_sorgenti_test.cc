#include "strumenti/comune/identita_sorgenti.h"

#include <gtest/gtest.h>

#include "model/nomi_file.h"
#include "prove/casi_nomi_file.h"

namespace {

TEST(IdentitaDelleSorgenti, DaiNomiDeiFileODagliArgomenti) {
  const struct {
    const char* linea;
    const char* treno;
    std::optional<std::string> scenario;
    std::optional<std::string> numero;
    Identita attesa;
  } kCasi[] = {
      {"Tavena_Crostia_linea.txt", "Tavena_Crostia_4417-.txt", {}, {}, {"Tavena_Crostia", "4417"}},
      {"a/b/Valle_linea.txt", "c\\Valle_12_A-.txt", {}, {}, {"Valle", "12_A"}},
      // A name given wins over the file's; the train number then comes from the given name.
      {"x.txt", "Monte_7-.txt", "Monte", {}, {"Monte", "7"}},
      {"Valle_linea.txt", "treno.txt", {}, "99", {"Valle", "99"}},
      {"Valle_linea.txt", "Valle_3-.txt", "Altro", "5", {"Altro", "5"}},
      {"Citt\u00e0_linea.txt", "Citt\u00e0_\u20ac-.txt", {}, {}, {"Citt\u00e0", "\u20ac"}},
  };
  for (const auto& c : kCasi) {
    const auto id = identita_delle_sorgenti(c.linea, c.treno, c.scenario, c.numero);
    ASSERT_TRUE(std::holds_alternative<Identita>(id)) << c.linea << " " << c.treno;
    EXPECT_EQ(std::get<Identita>(id), c.attesa) << c.linea << " " << c.treno;
  }
}

// The table of the naming rule, through the paths an author names: the line source gives the
// scenario name, and the train number is what follows it in the train source's name.
TEST(IdentitaDelleSorgenti, OgniIdentitaDallaTabellaDeiNomi) {
  for (const CasoNomiFile& caso : kCasiNomiFile) {
    const std::string linea = "c/" + nome_file(FileDellaCorsa::sorgente_linea, caso.identita);
    const std::string treno = "c/" + nome_file(FileDellaCorsa::sorgente_treno, caso.identita);
    const auto id = identita_delle_sorgenti(linea, treno, std::nullopt, std::nullopt);
    if (caso.identita.scenario.find('\xe0') != std::string::npos) {
      // Bytes that are not UTF-8 are refused with their reason, not misread.
      EXPECT_TRUE(std::holds_alternative<std::string>(id)) << linea;
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<Identita>(id)) << linea << " " << treno;
    EXPECT_EQ(std::get<Identita>(id), caso.identita) << linea << " " << treno;
  }
}

TEST(IdentitaDelleSorgenti, CioCheMancaESpiegato) {
  const struct {
    const char* linea;
    const char* treno;
    const char* parte_del_messaggio;
  } kCasi[] = {
      {"linea.txt", "Valle_3-.txt", "--scenario NOME"},
      {"_linea.txt", "Valle_3-.txt", "--scenario NOME"},
      {"Valle_linea.txt", "Monte_3-.txt", "--treno NUMERO"},
      {"Valle_linea.txt", "Valle_-.txt", "--treno NUMERO"},
      {"Valle_linea.txt", "Valle_3.txt", "Valle_NUMERO-.txt"},
      {"\u041f\u0440_linea.txt", "\u041f\u0440_3-.txt", "Windows-1252"},
      {"Valle_linea.txt", "Valle_\xff-.txt", "Windows-1252"},
  };
  for (const auto& c : kCasi) {
    const auto id = identita_delle_sorgenti(c.linea, c.treno, std::nullopt, std::nullopt);
    ASSERT_TRUE(std::holds_alternative<std::string>(id)) << c.linea << " " << c.treno;
    EXPECT_NE(std::get<std::string>(id).find(c.parte_del_messaggio), std::string::npos)
        << std::get<std::string>(id);
  }
}

}  // namespace
