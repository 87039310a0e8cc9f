// The inspector's page rendered by a real browser (headless Chromium from Debian's packages):
// the page of the built-in scenario, and that of the longest line, must draw without a script
// error, with one marker per station of the entry file and the plan's extent. A screenshot of
// the built-in page is kept in the build folder for a person to look at, and the longest
// line's page for the test that drives it with the keys.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "compiler/leggi_binario.h"
#include "prove/cartella_temporanea.h"
#include "prove/processo_di_prova.h"
#include "prove/scenario_compilato.h"
#include "prove/sorgenti_estese.h"
#include "strumenti/ispezione/ispezione.h"

namespace {

using piattaforma::CartellaTemporanea;

constexpr const char* kChromium = "/usr/bin/chromium";
constexpr const char* kTimeout = "/usr/bin/timeout";

bool chromium_presente() {
  return std::filesystem::exists(kChromium) && std::filesystem::exists(kTimeout);
}

// Chromium with a fresh profile of its own each time, nothing fetched in the background.
int profili = 0;
EsitoProcesso chromium(const CartellaTemporanea& c, std::vector<std::string> argomenti) {
  std::vector<std::string> tutti = {
      "180",
      kChromium,
      "--headless",
      "--no-sandbox",
      "--disable-gpu",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--user-data-dir=" + c.file("profilo_" + std::to_string(++profili))};
  tutti.insert(tutti.end(), argomenti.begin(), argomenti.end());
  return esegui_con_argomenti(kTimeout, tutti);
}

size_t conta(const std::string& testo, const std::string& parte) {
  size_t n = 0;
  for (size_t i = testo.find(parte); i != std::string::npos; i = testo.find(parte, i + 1)) {
    ++n;
  }
  return n;
}

// The value of attribute `nome` of the first element that has it, or nothing.
std::optional<std::string> attributo(const std::string& dom, const std::string& nome) {
  const std::string chiave = " " + nome + "=\"";
  const size_t i = dom.find(chiave);
  if (i == std::string::npos) {
    return std::nullopt;
  }
  const size_t inizio = i + chiave.size();
  return dom.substr(inizio, dom.find('"', inizio) - inizio);
}

// Stations of the entry file: entries from 1 up that are in use and that no sign board names.
size_t stazioni_del_file(const ScenarioCompilato& s) {
  const LetturaVoci voci = leggi_voci(s.voci);
  std::set<int> cartelli;
  for (const Cella& c : leggi_percorso(s.percorso).percorso) {
    if (c.genere == kCartello) {
      cartelli.insert(c.valore_1);
    }
  }
  size_t n = 0;
  for (int k = 1; k < kPrimaVoceCartello && voci.voci[static_cast<size_t>(k)] != Voce{}; ++k) {
    n += cartelli.contains(k) ? 0 : 1;
  }
  return n;
}

// The plan's extent as the page shows it: metres rounded as the page's script rounds them.
std::string estensione_del_file(const ScenarioCompilato& s) {
  const TracciatoLetto t = leggi_tracciato(s.tracciato).tracciato;
  double v[4] = {INFINITY, -INFINITY, INFINITY, -INFINITY};
  for (int32_t p = 0; p <= t.ultimo_punto(); ++p) {
    if (t.etichetta(p, 0) != Etichetta::vuoto && t.etichetta(p, 1) != Etichetta::vuoto) {
      v[0] = std::min(v[0], t.valore(p, 0));
      v[1] = std::max(v[1], t.valore(p, 0));
      v[2] = std::min(v[2], t.valore(p, 1));
      v[3] = std::max(v[3], t.valore(p, 1));
    }
  }
  std::string e;
  for (double x : v) {
    e += (e.empty() ? "" : " ") + std::to_string(static_cast<long long>(std::floor(x + 0.5)));
  }
  return e;
}

// Writes the scenario's files and its page into `c`; returns the page's path.
std::string pagina(const CartellaTemporanea& c, const ScenarioCompilato& s, const Identita& id) {
  const auto nomi = nomi_binari(id);
  c.scrivi(nomi[kFileTracciato], s.tracciato);
  c.scrivi(nomi[kFileVoci], s.voci);
  c.scrivi(nomi[kFilePercorso], s.percorso);
  const std::string html = c.file("linea.html");
  const EsitoProcesso e =
      esegui_con_argomenti(ISPEZIONA_SCENARIO_ESEGUIBILE, {c.percorso(), "--html", html});
  EXPECT_EQ(e.stato, 0) << e.errori;
  return html;
}

void controlla_dom(const std::string& dom, const ScenarioCompilato& s) {
  ASSERT_NE(dom.find("</html>"), std::string::npos) << "nessun DOM:\n" << dom.substr(0, 500);
  EXPECT_EQ(attributo(dom, "data-errori"), std::nullopt) << "errori dello script";
  EXPECT_EQ(attributo(dom, "data-stato"), "pronto") << "lo script non e' arrivato in fondo";
  EXPECT_EQ(conta(dom, "class=\"marcatore-stazione\""), stazioni_del_file(s));
  EXPECT_EQ(attributo(dom, "data-estensione"), estensione_del_file(s));
}

TEST(PaginaNelBrowser, LoScenarioIncorporato) {
  if (!chromium_presente()) {
    GTEST_SKIP() << "chromium non installato (scripts/verifica.sh lo installa): pagina non "
                    "provata nel browser";
  }
  CartellaTemporanea c;
  const ScenarioCompilato& s = scenario_incorporato();
  const std::string html = pagina(c, s, {"Tavena_Crostia", "4417"});
  const EsitoProcesso dom = chromium(c, {"--dump-dom", "file://" + html});
  ASSERT_EQ(dom.stato, 0) << dom.errori;
  controlla_dom(dom.uscita, s);
  EXPECT_EQ(stazioni_del_file(s), 29u);

  std::filesystem::remove(FOTO_DELLA_PAGINA);
  const EsitoProcesso foto =
      chromium(c, {"--hide-scrollbars", "--window-size=1200,1320",
                   std::string("--screenshot=") + FOTO_DELLA_PAGINA, "file://" + html});
  ASSERT_EQ(foto.stato, 0) << foto.errori;
  ASSERT_TRUE(std::filesystem::exists(FOTO_DELLA_PAGINA)) << foto.errori;
  EXPECT_GT(std::filesystem::file_size(FOTO_DELLA_PAGINA), 10000u);
}

TEST(PaginaNelBrowser, LaLineaPiuLunga) {
  if (!chromium_presente()) {
    GTEST_SKIP() << "chromium non installato (scripts/verifica.sh lo installa): pagina non "
                    "provata nel browser";
  }
  CartellaTemporanea c;
  const SorgentiEstese e = sorgenti_estese(1000000);
  const ScenarioCompilato s = compila_sorgenti(e.linea, e.treno);
  ASSERT_EQ(s.s.codice_errore, 0);
  const std::string html = pagina(c, s, {"Prova", "1"});
  const EsitoProcesso dom = chromium(c, {"--dump-dom", "file://" + html});
  ASSERT_EQ(dom.stato, 0) << dom.errori;
  controlla_dom(dom.uscita, s);
  // A caller that runs this test alone for the page names its own copy, so that a run of the
  // whole suite beside it never writes the same file.
  const char* copia = std::getenv("PAGINA_LINEA_LUNGA");
  std::filesystem::copy_file(html, copia != nullptr ? copia : PAGINA_LINEA_LUNGA,
                             std::filesystem::copy_options::overwrite_existing);
}

}  // namespace
