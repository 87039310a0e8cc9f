// The compile cannot tell the real disk from the one in memory: the same run gives the same
// files, the same error state and the same failure on both.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "app/form_load.h"
#include "compiler/memorizza_percorso.h"
#include "platform/disco_in_memoria.h"
#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"

namespace {

using Contenuti = std::map<std::string, std::string>;

struct Corsa {
  Contenuti file;  // by name, without the folder
  int32_t codice_errore = 0;
  std::optional<std::string> fallita;  // the file named by the failure that ended the run
};

Contenuti file_in_memoria(const piattaforma::DiscoInMemoria& disco, const std::string& cartella) {
  Contenuti file;
  for (const auto& [percorso, contenuto] : disco.file) {
    file[percorso.substr(cartella.size() + 1)] = contenuto;
  }
  return file;
}

template <typename Lavoro>
Corsa esegui(Lavoro lavoro, piattaforma::Disco& disco, const std::string& cartella) {
  Corsa c;
  Scenario s;
  try {
    lavoro(s, disco, cartella);
  } catch (const piattaforma::ErroreFile& e) {
    c.fallita = std::filesystem::path(e.percorso()).filename().string();
  }
  c.codice_errore = s.codice_errore;
  return c;
}

Corsa in_memoria(auto lavoro, int64_t guasto = -1, const Contenuti& prima = {}) {
  piattaforma::DiscoInMemoria disco;
  for (const auto& [nome, contenuto] : prima) {
    disco.file["/c/" + nome] = contenuto;
  }
  disco.guasto_all_operazione = guasto;
  Corsa c = esegui(lavoro, disco, "/c");
  c.file = file_in_memoria(disco, "/c");
  return c;
}

Corsa reale(auto lavoro, const std::string& bloccato = "", const Contenuti& prima = {}) {
  const piattaforma::CartellaTemporanea cartella;
  for (const auto& [nome, contenuto] : prima) {
    cartella.scrivi(nome, contenuto);
  }
  if (!bloccato.empty()) {
    std::filesystem::create_directory(cartella.file(bloccato));
  }
  piattaforma::DiscoReale disco;
  Corsa c = esegui(lavoro, disco, cartella.percorso());
  c.file = cartella.contenuti();
  return c;
}

void uguali(const Corsa& a, const Corsa& b, const std::string& caso) {
  EXPECT_EQ(a.codice_errore, b.codice_errore) << caso;
  EXPECT_EQ(a.fallita, b.fallita) << caso;
  ASSERT_EQ(a.file.size(), b.file.size()) << caso;
  for (const auto& [nome, contenuto] : a.file) {
    EXPECT_TRUE(b.file.contains(nome) && b.file.at(nome) == contenuto) << caso << ": " << nome;
  }
}

const auto kCorsaIncorporata = [](Scenario& s, piattaforma::Disco& d, const std::string& c) {
  Form_Load(s, d, c);
};

TEST(DiscoEquivalente, LaCorsaIncorporataScriveGliStessiFile) {
  const Corsa memoria = in_memoria(kCorsaIncorporata);
  EXPECT_EQ(memoria.file.size(), 6u);
  uguali(memoria, reale(kCorsaIncorporata), "corsa incorporata");
}

// Two signs in one cell: the compile ends with code 6 and still writes the binary files.
TEST(DiscoEquivalente, UnaCompilazioneConErroreNeiDatiScriveGliStessiFile) {
  const Contenuti sorgenti = {
      {"Prova_linea.txt",
       "[generale]\r\nlunghezza percorso, 5000\r\n[cartelli]\r\nindicatore cartello, 1000, "
       "A\r\nindicatore cartello, 1010, B\r\n[fine]\r\n"},
      {"Prova_1-.txt", "[generale]\r\n[fine]\r\n"},
  };
  const auto compila = [](Scenario& s, piattaforma::Disco& d, const std::string& c) {
    s.nome_scenario = "Prova";
    s.numero_treno = "1";
    memorizza_percorso(s, d, c, 1);
  };
  const Corsa memoria = in_memoria(compila, -1, sorgenti);
  EXPECT_EQ(memoria.codice_errore, 6);
  EXPECT_EQ(memoria.file.size(), 4u) << "the train source stays, the three binary files";
  uguali(memoria, reale(compila, "", sorgenti), "errore 6");
}

// A failure injected at each file operation of the run in turn ends it as a failure on the
// real disk does: where the operation gives a text its final name, the real disk fails the
// same way when a folder stands at that name, and both runs leave the same files. A failure
// while the compile reads or deletes a source is the compile's own: code 25, both sources
// gone. Any other failure ends the run with its file named, and no temporary file stays.
TEST(DiscoEquivalente, UnGuastoAOgniOperazioneFinisceComeSulDiscoReale) {
  piattaforma::DiscoInMemoria conta;
  conta.registra = true;
  {
    Scenario s;
    Form_Load(s, conta, "/c");
  }
  const std::string testi[] = {
      "Tavena_Crostia_linea.txt", "Tavena_Crostia_4417-.txt", "Tavena_Crostia_4417_note.txt",
      "Tavena_Crostia_4417_rallentamenti.txt", "Tavena_Crostia_4417_scheda_treno.txt"};
  int confrontate = 0;
  for (int64_t k = 0; k < conta.operazioni; ++k) {
    const std::string& operazione = conta.registro[static_cast<size_t>(k)];
    const Corsa memoria = in_memoria(kCorsaIncorporata, k);
    for (const auto& [nome, contenuto] : memoria.file) {
      EXPECT_EQ(nome.find(".tmp-"), std::string::npos) << operazione << ": " << nome;
    }
    const bool di_una_sorgente =
        (operazione.starts_with("aprire ") || operazione.starts_with("eliminare ")) &&
        (operazione.ends_with("/" + testi[0]) || operazione.ends_with("/" + testi[1]));
    if (di_una_sorgente) {
      EXPECT_FALSE(memoria.fallita.has_value()) << operazione;
      EXPECT_EQ(memoria.codice_errore, 25) << operazione;
      EXPECT_FALSE(memoria.file.contains(testi[0])) << operazione;
      EXPECT_FALSE(memoria.file.contains(testi[1])) << operazione;
      continue;
    }
    EXPECT_TRUE(memoria.fallita.has_value()) << operazione;
    for (const std::string& testo : testi) {
      if (operazione.starts_with("rinominare ") && operazione.ends_with(" /c/" + testo)) {
        uguali(memoria, reale(kCorsaIncorporata, testo), operazione);
        ++confrontate;
      }
    }
  }
  EXPECT_EQ(confrontate, 5);
}

}  // namespace
