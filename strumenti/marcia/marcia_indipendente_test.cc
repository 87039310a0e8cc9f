// The check against an independent computation of the same model, in another language and by
// other means (prove/marcia_indipendente.mjs): every stretch of the built-in run, and of the
// run with another train, other parameters and a slower slow-down.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "prove/cartella_temporanea.h"
#include "prove/processo_di_prova.h"
#include "prove/scenario_compilato.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "strumenti/marcia/marcia.h"

namespace {

nlohmann::json dati_del_modello(const Scenario& s, const ParametriMarcia& p) {
  nlohmann::json j;
  for (const ChiaveMarcia& c : chiavi_marcia()) {
    j["parametri"][std::string(c.nome)] = p.*(c.campo);
  }
  j["vetture"] = s.voci[kVoceTreno].progressiva_voce;
  j["massa_frenata"] = s.voci[kVoceTreno].inizio_area;
  j["celle"] = nlohmann::json::array();
  for (const Cella& c : s.percorso) {
    j["celle"].push_back({c.velocita_massima, c.pendenza_cella, c.genere, c.valore_1});
  }
  j["stazioni"] = nlohmann::json::array();
  for (int i = 1; i <= kPrimaVoceCartello && s.voci[static_cast<size_t>(i)] != Voce{}; ++i) {
    const Voce& v = s.voci[static_cast<size_t>(i)];
    j["stazioni"].push_back({{"voce", i},
                             {"categoria", v.categoria},
                             {"progressiva", v.progressiva_voce},
                             {"fine_area", v.fine_area},
                             {"sosta", v.marca_3},
                             {"orario", v.orario}});
  }
  return j;
}

double secondi(const nlohmann::json& v) {
  return v.is_null() ? std::numeric_limits<double>::infinity() : v.get<double>();
}

// The independent computation's stretches, one JSON object each.
std::vector<nlohmann::json> indipendente(const Scenario& s, const ParametriMarcia& p) {
  piattaforma::CartellaTemporanea cartella;
  cartella.scrivi("modello.json", dati_del_modello(s, p).dump());
  const EsitoProcesso e =
      esegui_con_argomenti(NODE_ESEGUIBILE, {MARCIA_INDIPENDENTE, cartella.file("modello.json")});
  EXPECT_EQ(e.stato, 0) << e.errori;
  std::vector<nlohmann::json> tratte;
  std::istringstream righe(e.uscita);
  for (std::string riga; std::getline(righe, riga);) {
    tratte.push_back(nlohmann::json::parse(riga));
  }
  return tratte;
}

void confronta(const Scenario& s, const ParametriMarcia& p) {
  const Marcia m = verifica_marcia(s, p);
  ASSERT_TRUE(m.difetto.empty()) << m.difetto;
  piattaforma::CartellaTemporanea cartella;
  cartella.scrivi("modello.json", dati_del_modello(s, p).dump());
  const EsitoProcesso e =
      esegui_con_argomenti(NODE_ESEGUIBILE, {MARCIA_INDIPENDENTE, cartella.file("modello.json")});
  ASSERT_EQ(e.stato, 0) << e.errori;
  std::istringstream righe(e.uscita);
  std::string riga;
  size_t i = 0;
  for (; std::getline(righe, riga); ++i) {
    ASSERT_LT(i, m.tratte.size()) << riga;
    const nlohmann::json j = nlohmann::json::parse(riga);
    const Tratta& t = m.tratte[i];
    EXPECT_EQ(j["voce_da"], t.voce_da) << i;
    EXPECT_EQ(j["voce_a"], t.voce_a) << i;
    EXPECT_EQ(j["metri"], t.metri) << t.a;
    EXPECT_EQ(j["programmato_s"], t.programmato_s) << t.a;
    for (const auto& [nome, nostro] :
         {std::pair{"piu_veloce_s", t.piu_veloce_s}, std::pair{"limite_s", t.limite_s}}) {
      const double loro = secondi(j[nome]);
      EXPECT_NEAR(nostro, loro, std::max(1.0, 0.005 * loro)) << t.a << ": " << nome;
    }
  }
  EXPECT_EQ(i, m.tratte.size());
}

std::string sostituisci(std::string testo, const std::string& da, const std::string& a) {
  const size_t dove = testo.find(da);
  EXPECT_NE(dove, std::string::npos) << da;
  return dove == std::string::npos ? testo : testo.replace(dove, da.size(), a);
}

// The author's compiler, with the parameters of the file beside the sources and of its options,
// prints every stretch within a second or 0.5 % of the independent computation, in order.
TEST(MarciaIndipendente, IlCompilatoreDegliAutoriDiceLoStesso) {
  std::string treno = testo_delle_righe(dati_treno());
  treno = sostituisci(treno, "numero vetture,    5", "numero vetture,    8");
  treno = sostituisci(treno, "rallentamento,    9200,    70", "rallentamento,    9200,    30");
  piattaforma::CartellaTemporanea cartella;
  cartella.scrivi("Tavena_Crostia_linea.txt", testo_delle_righe(dati_linea()));
  cartella.scrivi("Tavena_Crostia_4417-.txt", treno);
  cartella.scrivi("Tavena_Crostia_marcia.txt", "# piu' debole\npotenza_kw = 1800\n");
  const EsitoProcesso e = esegui_con_argomenti(
      COMPILA_SCENARIO_ESEGUIBILE,
      {cartella.file("Tavena_Crostia_linea.txt"), cartella.file("Tavena_Crostia_4417-.txt"),
       "--cartella", cartella.percorso(), "--marcia", "--json", "--marcia-parametro",
       "sforzo_massimo_kn=150"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  ParametriMarcia p;
  p.potenza_kw = 1800;
  p.sforzo_massimo_kn = 150;
  const ScenarioCompilato c = compila_sorgenti(testo_delle_righe(dati_linea()), treno);
  const std::vector<nlohmann::json> loro = indipendente(c.s, p);
  std::istringstream righe(e.uscita);
  size_t i = 0;
  bool non_ok = false;
  for (std::string riga; std::getline(righe, riga); ++i) {
    ASSERT_LT(i, loro.size()) << riga;
    const nlohmann::json nostro = nlohmann::json::parse(riga);
    EXPECT_EQ(nostro["metri"], loro[i]["metri"]) << riga;
    EXPECT_EQ(nostro["programmato_s"], loro[i]["programmato_s"]) << riga;
    for (const char* nome : {"piu_veloce_s", "limite_s"}) {
      const double atteso = secondi(loro[i][nome]);
      EXPECT_NEAR(secondi(nostro[nome]), atteso, std::max(1.0, 0.005 * atteso)) << riga;
    }
    EXPECT_GT(nostro["riga"].get<int>(), 0) << riga;
    non_ok = non_ok || nostro["esito"] != "ok";
  }
  EXPECT_EQ(i, loro.size());
  EXPECT_TRUE(non_ok);
  EXPECT_NE(e.errori.find("\"code\":\"orario-impossibile-con-ogni-treno\""), std::string::npos)
      << e.errori;
}

TEST(MarciaIndipendente, LaCorsaIncorporata) {
  confronta(scenario_incorporato().s, ParametriMarcia{});
}

TEST(MarciaIndipendente, UnAltroTrenoAltriParametriUnRallentamentoPiuLento) {
  std::string treno = testo_delle_righe(dati_treno());
  treno = sostituisci(treno, "numero vetture,    5", "numero vetture,    9");
  treno =
      sostituisci(treno, "percentuale massa frenata,    120", "percentuale massa frenata,    70");
  treno = sostituisci(treno, "rallentamento,    9200,    70", "rallentamento,    9200,    40");
  const ScenarioCompilato c = compila_sorgenti(testo_delle_righe(dati_linea()), treno);
  ASSERT_EQ(c.s.codice_errore, 0);
  ParametriMarcia p;
  p.potenza_kw = 2000;
  p.resistenza_quadratica = 0.0005;
  p.sforzo_massimo_kn = 160;
  confronta(c.s, p);
}

}  // namespace
