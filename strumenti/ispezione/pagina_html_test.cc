#include "strumenti/ispezione/pagina_html.h"

#include <gtest/gtest.h>

#include <string>

#include "prove/scenario_compilato.h"
#include "prove/sorgenti_estese.h"

namespace {

std::string pagina_di(const ScenarioCompilato& c, const Identita& id, Ispezione* fuori = nullptr) {
  const Ispezione i = ispeziona_byte(id, c.tracciato, c.voci, c.percorso);
  if (fuori != nullptr) {
    *fuori = i;
  }
  return pagina_html(i, riepiloga(i.tracciato, i.voci, i.percorso));
}

// The JSON between the data element's tags.
std::string dati_nella_pagina(const std::string& pagina) {
  const std::string apertura = "<script type=\"application/json\" id=\"dati\">";
  const size_t inizio = pagina.find(apertura) + apertura.size();
  return pagina.substr(inizio, pagina.find("</script>", inizio) - inizio);
}

// Nothing is fetched: no external script, style, font or image, and the data is the page's own.
TEST(PaginaHtml, SiBastaDaSola) {
  Ispezione i;
  const std::string pagina = pagina_di(scenario_incorporato(), {"Tavena_Crostia", "4417"}, &i);
  for (const char* esterno : {"src=", "href=", "<link", "url(", "@import", "fetch(", "https:"}) {
    EXPECT_EQ(pagina.find(esterno), std::string::npos) << esterno;
  }
  const auto dati = nlohmann::ordered_json::parse(dati_nella_pagina(pagina));
  EXPECT_EQ(dati, dati_pagina(i, riepiloga(i.tracciato, i.voci, i.percorso)));
  EXPECT_EQ(dati["stazioni"].size(), 29u);
  EXPECT_EQ(dati["stazioni"][0]["x"], 0);
  EXPECT_EQ(dati["stazioni"][0]["y"], 0);
  EXPECT_EQ(dati["chilometri"].size(), 2u);
}

// The timetable's check is in the data when it is given, and only then.
TEST(PaginaHtml, LaVerificaDellOrarioSoloSeCE) {
  const ScenarioCompilato& c = scenario_incorporato();
  const Ispezione i = ispeziona_byte({"Tavena_Crostia", "4417"}, c.tracciato, c.voci, c.percorso);
  const Riepilogo r = riepiloga(i.tracciato, i.voci, i.percorso);
  EXPECT_FALSE(dati_pagina(i, r).contains("marcia"));
  const Marcia m = verifica_marcia(i.voci, i.percorso, ParametriMarcia{});
  const auto dati = nlohmann::ordered_json::parse(dati_nella_pagina(pagina_html(i, r, &m)));
  ASSERT_TRUE(dati.contains("marcia"));
  EXPECT_EQ(dati["marcia"]["tratte"].size(), m.tratte.size());
  EXPECT_EQ(dati["marcia"]["tratte"].back()["esito"], "impossibile-con-ogni-treno");
}

// A sign text that holds "</script>" cannot end the data early.
TEST(PaginaHtml, UnTestoNonChiudeIDati) {
  ScenarioCompilato c = scenario_incorporato();
  Ispezione i = ispeziona_byte({"Tavena_Crostia", "4417"}, c.tracciato, c.voci, c.percorso);
  i.voci[80].testo = "</script><script>alert(1)</script>";
  const std::string pagina = pagina_html(i, riepiloga(i.tracciato, i.voci, i.percorso));
  const auto dati = nlohmann::ordered_json::parse(dati_nella_pagina(pagina));
  bool trovato = false;
  for (const auto& t : dati["testi"]) {
    trovato = trovato || t["testo"] == "</script><script>alert(1)</script>";
  }
  EXPECT_TRUE(trovato);
}

// The longest line draws a bounded plan, and the page stays small.
TEST(PaginaHtml, LaLineaPiuLungaStaInUnaPaginaPiccola) {
  const SorgentiEstese e = sorgenti_estese(1000000);
  const ScenarioCompilato c = compila_sorgenti(e.linea, e.treno);
  const std::string pagina = pagina_di(c, {"Prova", "1"});
  const auto dati = nlohmann::ordered_json::parse(dati_nella_pagina(pagina));
  EXPECT_LE(dati["pianta"].size(), kPuntiPianta);
  EXPECT_LE(dati["pianta_fine"].size(), kPuntiPiantaFine);
  EXPECT_GT(dati["pianta_fine"].size(), dati["pianta"].size());
  EXPECT_EQ(dati["punti"], 1007001);
  EXPECT_LT(pagina.size(), 2'000'000u);
}

}  // namespace
