#include "strumenti/marcia/avvisi_marcia.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

struct Incorporato {
  std::string linea = testo_delle_righe(dati_linea());
  std::string treno = testo_delle_righe(dati_treno());
  Compilazione c;
  Incorporato() { c = compila(linea, treno, {"Tavena_Crostia", "4417", true}); }
};

const Incorporato& incorporato() {
  static const Incorporato i;
  return i;
}

TEST(Durata, NelleParoleDellaScheda) {
  const struct {
    double secondi;
    const char* atteso;
  } casi[] = {
      {0, "0 s"},          {45, "45 s"},         {180, "3 min"},   {243.46, "4 min 3 s"},
      {59.6, "1 min"},     {3725, "1 h 2 min 5 s"}, {3600, "1 h"}, {-61, "-1 min 1 s"},
      {1.0 / 0.0, "mai"},
  };
  for (const auto& c : casi) {
    EXPECT_EQ(durata(c.secondi), c.atteso) << c.secondi;
  }
}

// The built-in scenario's last stretch cannot be kept by any train: the warning stands at
// the station row that ends it, with both figures, and no ok stretch gives one.
TEST(AvvisiDellaMarcia, LUltimaTrattaDelloScenarioIncorporato) {
  const Incorporato& i = incorporato();
  const std::optional<Marcia> m = marcia_della_compilazione(i.c, {});
  ASSERT_TRUE(m.has_value());
  const std::vector<Diagnosi> avvisi =
      avvisi_della_marcia(*m, i.c, "dir/Tavena_Crostia_4417-.txt", i.treno);
  size_t non_ok = 0;
  for (const Tratta& t : m->tratte) {
    non_ok += t.esito != EsitoTratta::ok ? 1 : 0;
  }
  ASSERT_EQ(avvisi.size(), non_ok);
  ASSERT_FALSE(avvisi.empty());
  const Diagnosi& ultimo = avvisi.back();
  EXPECT_EQ(ultimo.gravita, Gravita::avviso);
  EXPECT_EQ(std::get<std::string>(ultimo.codice), "orario-impossibile-con-ogni-treno");
  EXPECT_EQ(ultimo.messaggio,
            "da CROSTIA a CROSTIA C.L.V.: 3 min in orario, almeno 4 min 3 s ai soli limiti");
  EXPECT_EQ(ultimo.posto.file, "dir/Tavena_Crostia_4417-.txt");
  EXPECT_NE(ultimo.riga_sorgente.find("CROSTIA C.L.V."), std::string::npos)
      << ultimo.riga_sorgente;
  EXPECT_EQ(riga_del_testo(i.treno, ultimo.posto.riga), ultimo.riga_sorgente);
  EXPECT_EQ(riga_della_tratta(m->tratte.back(), i.c), ultimo.posto.riga);
}

// A model whose error state holds a code, or a compile that left no files, has no timetable
// to check.
TEST(AvvisiDellaMarcia, NessunaMarciaDopoUnErroreNeiDati) {
  const Incorporato& i = incorporato();
  Compilazione c = compila(i.linea, i.treno, {"Tavena_Crostia", "4417", true});
  ASSERT_TRUE(marcia_della_compilazione(c, {}).has_value());
  c.scenario.codice_errore = 15;
  EXPECT_FALSE(marcia_della_compilazione(c, {}).has_value());
  const Compilazione senza_treno = compila(i.linea, std::nullopt, {"Tavena_Crostia", "4417", true});
  EXPECT_FALSE(marcia_della_compilazione(senza_treno, {}).has_value());
}

TEST(JsonTratta, ChiaviEValori) {
  Tratta t;
  t.da = "CROSTIA";
  t.a = "CROSTIA C.L.V.";
  t.metri = 3050;
  t.programmato_s = 180;
  t.piu_veloce_s = 268.43;
  t.limite_s = 243.46;
  t.margine_s = -88.43;
  t.esito = EsitoTratta::impossibile_con_ogni_treno;
  const nlohmann::json j = nlohmann::json::parse(json_tratta(t, 79));
  EXPECT_EQ(j["da"], "CROSTIA");
  EXPECT_EQ(j["a"], "CROSTIA C.L.V.");
  EXPECT_EQ(j["riga"], 79);
  EXPECT_EQ(j["metri"], 3050);
  EXPECT_EQ(j["programmato_s"], 180);
  EXPECT_DOUBLE_EQ(j["piu_veloce_s"].get<double>(), 268.4);
  EXPECT_DOUBLE_EQ(j["limite_s"].get<double>(), 243.5);
  EXPECT_DOUBLE_EQ(j["margine_s"].get<double>(), -88.4);
  EXPECT_EQ(j["esito"], "impossibile-con-ogni-treno");
  t.piu_veloce_s = 1.0 / 0.0;
  EXPECT_TRUE(nlohmann::json::parse(json_tratta(t, 79))["piu_veloce_s"].is_null());
}

}  // namespace
