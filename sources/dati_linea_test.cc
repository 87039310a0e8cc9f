// The line source as written, checked against the rules its content must keep: sections and
// their rows, spacing forms, bounds and orders, and the relation between signs and tunnels.
#include "sources/dati_linea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "model/nomi_file.h"
#include "prove/righe_scritte.h"

namespace {

const FileScritto& linea() {
  static const FileScritto file = testo_del_lavoro(dati_linea);
  return file;
}

// The rows between the header `intestazione` and the next header.
std::vector<std::string> sezione(std::string_view intestazione) {
  const auto& righe = linea().righe;
  auto inizio = std::find(righe.begin(), righe.end(), intestazione);
  EXPECT_NE(inizio, righe.end()) << intestazione;
  std::vector<std::string> out;
  for (auto it = inizio == righe.end() ? inizio : inizio + 1;
       it != righe.end() && !it->starts_with("["); ++it) {
    out.push_back(*it);
  }
  return out;
}

int32_t lunghezza_percorso() {
  return intero(campi(linea().righe.at(1)).at(1)).value_or(-1);
}

int32_t numero(const std::ssub_match& m) {
  return std::stoi(m.str());
}

TEST(DatiLinea, SetteSezioniAlleRigheFisse) {
  const auto& righe = linea().righe;
  ASSERT_EQ(righe.size(), 354u);
  EXPECT_EQ(linea().righe_dichiarate, 354);
  const std::vector<std::pair<size_t, std::string>> attese = {
      {0, "[generale]"},   {9, "[curve]"},         {134, "[pendenze]"}, {221, "[montagne]"},
      {271, "[cartelli]"}, {303, "[indicazioni]"}, {353, "[fine]"}};
  const auto trovate = intestazioni(righe);
  EXPECT_EQ(trovate, attese);
  // A row is recognised by a word its keyword contains: no header may contain one.
  for (const auto& [i, intestazione] : trovate) {
    std::string minuscola = intestazione;
    std::transform(minuscola.begin(), minuscola.end(), minuscola.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* parola : {"curva", "pendenza", "montagna", "indicat", "cartello"}) {
      EXPECT_EQ(minuscola.find(parola), std::string::npos) << intestazione << " / " << parola;
    }
  }
  size_t commenti = 0;
  for (size_t i = 0; i < righe.size(); ++i) {
    if (righe[i].starts_with("- ")) {
      ++commenti;
      EXPECT_EQ(i, 135u);
      EXPECT_EQ(righe[i], "- Altitudine iniziale Tavena = 36 m.");
    }
  }
  EXPECT_EQ(commenti, 1u);
}

TEST(DatiLinea, RigheInAsciiEntroSettantaCaratteri) {
  size_t con_spazio_finale = 0;
  for (const auto& riga : linea().righe) {
    EXPECT_LE(riga.size(), 70u) << riga;
    EXPECT_TRUE(std::all_of(riga.begin(), riga.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
        << riga;
    con_spazio_finale += riga.ends_with(" ") ? 1 : 0;
  }
  EXPECT_EQ(con_spazio_finale, 235u);
  EXPECT_EQ(linea().byte.find("riferimento fine del file"), std::string::npos);
}

TEST(DatiLinea, RigheGenerali) {
  const std::vector<std::string> attese = {
      "lunghezza percorso,    101000",
      "progressiva chilometrica uno,    0,    100950,    1",
      "progressiva chilometrica due,    98250,    213400,    0",
      "progressiva chilometrica tre,    0,    0,    0",
      "sfondo uno,    1",
      "sfondo due,    59500",
      "sfondo tre,    32750",
      "ripetizione segnali 4 codici,    0    ,0",
  };
  EXPECT_EQ(sezione("[generale]"), attese);
}

TEST(DatiLinea, Curve) {
  const std::regex forma_a(R"(^(curva[sd][1-6]),  (\d+) , (\d+) $)");
  const std::regex forma_b(R"(^(curva[sd][1-6]),  (\d+),  (\d+)$)");
  const auto righe = sezione("[curve]");
  ASSERT_EQ(righe.size(), 124u);
  std::map<std::string, int> per_chiave;
  std::vector<int32_t> inizi;
  std::vector<int32_t> lunghezze;
  int forme_a = 0;
  int forme_b = 0;
  for (const auto& riga : righe) {
    std::smatch m;
    if (std::regex_match(riga, m, forma_a)) {
      ++forme_a;
    } else if (std::regex_match(riga, m, forma_b)) {
      ++forme_b;
    } else {
      ADD_FAILURE() << "curva fuori forma: [" << riga << "]";
      continue;
    }
    ++per_chiave[m[1]];
    inizi.push_back(numero(m[2]));
    lunghezze.push_back(numero(m[3]));
  }
  EXPECT_EQ(forme_a, 111);
  EXPECT_EQ(forme_b, 13);
  const std::map<std::string, int> attese = {{"curvas3", 1}, {"curvas4", 7}, {"curvas5", 51},
                                             {"curvad3", 1}, {"curvad4", 7}, {"curvad5", 46},
                                             {"curvad6", 11}};
  EXPECT_EQ(per_chiave, attese);
  posizioni_in_ordine(inizi, 700, 99550, "curve", lunghezza_percorso());
  ASSERT_EQ(lunghezze.size(), inizi.size());
  EXPECT_EQ(*std::min_element(lunghezze.begin(), lunghezze.end()), 50);
  EXPECT_EQ(std::count(lunghezze.begin(), lunghezze.end(), 1250), 1);
  EXPECT_EQ(*std::max_element(lunghezze.begin(), lunghezze.end()), 1250);
  int contigue = 0;
  for (size_t i = 0; i < inizi.size(); ++i) {
    EXPECT_EQ(lunghezze[i] % 50, 0) << righe[i];
    if (i + 1 < inizi.size()) {
      EXPECT_LE(inizi[i] + lunghezze[i], inizi[i + 1]) << righe[i] << " entra nella successiva";
      contigue += inizi[i] + lunghezze[i] == inizi[i + 1] ? 1 : 0;
    }
  }
  EXPECT_EQ(contigue, 4);
  EXPECT_EQ(inizi.back() + lunghezze.back(), 100100);
  EXPECT_EQ(righe.front(), "curvas5,  700 , 700 ");
  EXPECT_EQ(righe.back(), "curvas5,  99550 , 550 ");
  for (const char* riga :
       {"curvad3,  4850 , 500 ", "curvas3,  8250 , 450 ", "curvas5,  59350 , 1250 ",
        "curvad4,  3450 , 500 ", "curvad6,  11450,  150"}) {
    EXPECT_TRUE(contiene(righe, riga)) << riga;
  }
}

TEST(DatiLinea, Pendenze) {
  const std::regex forma_a(R"(^pendenza,  (\d+) , (\d+) $)");
  const std::regex forma_b(R"(^pendenza,  (\d+) ,(-\d+) $)");
  const std::regex forma_c(R"(^pendenza,  (\d+),   (-?\d+)$)");
  auto righe = sezione("[pendenze]");
  ASSERT_FALSE(righe.empty());
  EXPECT_EQ(righe.front(), "- Altitudine iniziale Tavena = 36 m.");
  righe.erase(righe.begin());
  ASSERT_EQ(righe.size(), 85u);
  std::vector<int32_t> posizioni;
  std::vector<int32_t> pendenze;
  int forme[3] = {0, 0, 0};
  for (const auto& riga : righe) {
    std::smatch m;
    int forma = 0;
    for (const std::regex* r : {&forma_a, &forma_b, &forma_c}) {
      if (std::regex_match(riga, m, *r)) {
        break;
      }
      ++forma;
    }
    if (forma == 3) {
      ADD_FAILURE() << "pendenza fuori forma: [" << riga << "]";
      continue;
    }
    ++forme[forma];
    posizioni.push_back(numero(m[1]));
    pendenze.push_back(numero(m[2]));
  }
  EXPECT_EQ(forme[0], 50);
  EXPECT_EQ(forme[1], 28);
  EXPECT_EQ(forme[2], 7);
  posizioni_in_ordine(posizioni, 850, 100200, "pendenze", lunghezza_percorso());
  EXPECT_EQ(std::count(pendenze.begin(), pendenze.end(), 0), 15);
  EXPECT_EQ(*std::min_element(pendenze.begin(), pendenze.end()), -26);
  EXPECT_EQ(*std::max_element(pendenze.begin(), pendenze.end()), 26);
  EXPECT_EQ(righe.front(), "pendenza,  850 , 4 ");
  EXPECT_EQ(righe.back(), "pendenza,  100200 , 0 ");
  EXPECT_TRUE(contiene(righe, "pendenza,  48300 ,-4 "));
  EXPECT_TRUE(contiene(righe, "pendenza,  65650,   -12"));
}

struct Montagna {
  int32_t inizio;
  int32_t fine;
  int32_t tipo;
};

std::vector<Montagna> montagne() {
  const std::regex forma_a(R"(^montagna,  (\d+) , (\d+) , (\d+) $)");
  const std::regex forma_b(R"(^montagna,   (\d+),  (\d+),  (\d+)$)");
  std::vector<Montagna> out;
  for (const auto& riga : sezione("[montagne]")) {
    std::smatch m;
    if (std::regex_match(riga, m, forma_a) || std::regex_match(riga, m, forma_b)) {
      out.push_back({numero(m[1]), numero(m[2]), numero(m[3])});
    } else {
      ADD_FAILURE() << "montagna fuori forma: [" << riga << "]";
    }
  }
  return out;
}

TEST(DatiLinea, Montagne) {
  const auto righe = sezione("[montagne]");
  ASSERT_EQ(righe.size(), 49u);
  const auto tratti = montagne();
  ASSERT_EQ(tratti.size(), 49u);
  EXPECT_EQ(std::count_if(righe.begin(), righe.end(),
                          [](const std::string& r) { return r.starts_with("montagna,   "); }),
            3);
  std::vector<int32_t> inizi;
  std::map<int32_t, int> per_tipo;
  std::vector<int32_t> lunghezze;
  int vicini = 0;
  for (size_t i = 0; i < tratti.size(); ++i) {
    const Montagna& t = tratti[i];
    inizi.push_back(t.inizio);
    ++per_tipo[t.tipo];
    EXPECT_LT(t.inizio, t.fine) << righe[i];
    EXPECT_EQ(t.fine % 50, 0) << righe[i];
    EXPECT_LE(t.fine, lunghezza_percorso()) << righe[i];
    lunghezze.push_back(t.fine - t.inizio);
    if (i > 0) {
      EXPECT_LT(tratti[i - 1].fine, t.inizio) << righe[i];
      vicini += t.inizio - tratti[i - 1].fine <= 150 ? 1 : 0;
    }
  }
  posizioni_in_ordine(inizi, 4600, 98350, "montagne", lunghezza_percorso());
  EXPECT_EQ(vicini, 14);
  EXPECT_EQ(*std::min_element(lunghezze.begin(), lunghezze.end()), 50);
  EXPECT_EQ(*std::max_element(lunghezze.begin(), lunghezze.end()), 3800);
  EXPECT_EQ(per_tipo, (std::map<int32_t, int>{{2, 1}, {11, 31}, {12, 17}}));
  EXPECT_EQ(tratti.back().tipo, 2);
  EXPECT_EQ(righe.front(), "montagna,  4600 , 4750 , 12 ");
  EXPECT_EQ(righe.back(), "montagna,  98350 , 98400 , 2 ");
  EXPECT_TRUE(contiene(righe, "montagna,   52700,  52800,  11"));
}

struct Tabella {
  int32_t posizione;
  int32_t vas;
  int32_t vbs;
  int32_t vcs;
  int32_t strisce;
};

std::vector<Tabella> tabelle() {
  const std::regex forma(
      R"(^indicatori_vmax,  (\d+),  (\d+),  (\d+),  (\d+),  (\d+),  ,  ,  ,  0$)");
  std::vector<Tabella> out;
  for (const auto& riga : sezione("[cartelli]")) {
    std::smatch m;
    if (std::regex_match(riga, m, forma)) {
      out.push_back({numero(m[1]), numero(m[2]), numero(m[3]), numero(m[4]), numero(m[5])});
    } else {
      ADD_FAILURE() << "tabella fuori forma: [" << riga << "]";
    }
  }
  return out;
}

TEST(DatiLinea, TabelleDiVelocita) {
  const auto righe = sezione("[cartelli]");
  ASSERT_EQ(righe.size(), 31u);
  const auto t = tabelle();
  ASSERT_EQ(t.size(), 31u);
  std::vector<int32_t> posizioni;
  int32_t minima = 1000;
  int32_t massima = 0;
  for (const Tabella& x : t) {
    posizioni.push_back(x.posizione);
    EXPECT_TRUE(x.vas <= x.vbs && x.vbs <= x.vcs) << x.posizione;
    minima = std::min(minima, x.vas);
    massima = std::max(massima, x.vcs);
  }
  posizioni_in_ordine(posizioni, 800, 98450, "tabelle", lunghezza_percorso());
  EXPECT_EQ(minima, 30);
  EXPECT_EQ(massima, 140);
  // Striped boards come only as triples 2, 1, 0 of equal speeds at equal steps.
  std::map<int32_t, int> triple_per_passo;
  int senza_strisce = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    senza_strisce += t[i].strisce == 0 ? 1 : 0;
    if (t[i].strisce == 1 && (i == 0 || t[i - 1].strisce != 2)) {
      ADD_FAILURE() << "tabella a una striscia fuori da una terna: " << t[i].posizione;
    }
    if (t[i].strisce != 2) {
      EXPECT_TRUE(t[i].strisce == 0 || t[i].strisce == 1) << t[i].posizione;
      continue;
    }
    ASSERT_LT(i + 2, t.size());
    const int32_t passo = t[i + 1].posizione - t[i].posizione;
    EXPECT_EQ(t[i + 2].posizione - t[i + 1].posizione, passo) << t[i].posizione;
    EXPECT_EQ(t[i + 1].strisce, 1) << t[i].posizione;
    EXPECT_EQ(t[i + 2].strisce, 0) << t[i].posizione;
    for (size_t k = i + 1; k <= i + 2; ++k) {
      EXPECT_TRUE(t[k].vas == t[i].vas && t[k].vbs == t[i].vbs && t[k].vcs == t[i].vcs)
          << t[k].posizione;
    }
    ++triple_per_passo[passo];
  }
  EXPECT_EQ(senza_strisce, 19);
  EXPECT_EQ(triple_per_passo, (std::map<int32_t, int>{{100, 1}, {200, 5}}));
  EXPECT_EQ(righe.front(), "indicatori_vmax,  800,  85,  90,  90,  0,  ,  ,  ,  0");
  EXPECT_EQ(righe.back(), "indicatori_vmax,  98450,  65,  70,  75,  0,  ,  ,  ,  0");
  for (const char* riga : {"indicatori_vmax,  10050,  90,  95,  100,  2,  ,  ,  ,  0",
                           "indicatori_vmax,  10250,  90,  95,  100,  1,  ,  ,  ,  0",
                           "indicatori_vmax,  10450,  90,  95,  100,  0,  ,  ,  ,  0",
                           "indicatori_vmax,  34550,  30,  80,  80,  2,  ,  ,  ,  0"}) {
    EXPECT_TRUE(contiene(righe, riga)) << riga;
  }
}

enum class Tipo { kGalleria, kGalleriaTreGruppi, kViadotto, kBivio, kAltro };

struct Indicazione {
  int32_t posizione;
  std::vector<std::string> gruppi;  // the text between the brackets, padding included
  Tipo tipo;
};

bool ha_minuscole(const std::string& t) {
  return std::any_of(t.begin(), t.end(), [](unsigned char c) { return std::islower(c); });
}

std::vector<Indicazione> indicazioni() {
  const std::regex forma(R"(^cartello_indicatore,  (\d+),   (\(.*\))$)");
  const std::regex gruppo(R"(\(([^()]*)\))");
  const std::regex lunghezza(R"(^ *\d+ m\. *$)");
  const std::regex minuscolo(R"(^[A-Z][a-z ]+$)");
  std::vector<Indicazione> out;
  for (const auto& riga : sezione("[indicazioni]")) {
    std::smatch m;
    if (!std::regex_match(riga, m, forma)) {
      ADD_FAILURE() << "indicazione fuori forma: [" << riga << "]";
      continue;
    }
    Indicazione x{numero(m[1]), {}, Tipo::kAltro};
    const std::string testo = m[2];
    std::string ricomposto;
    for (auto it = std::sregex_iterator(testo.begin(), testo.end(), gruppo);
         it != std::sregex_iterator(); ++it) {
      x.gruppi.push_back((*it)[1]);
      ricomposto += (*it)[0];
    }
    EXPECT_EQ(ricomposto, testo) << "testo fuori dalle parentesi: " << riga;
    const bool con_lunghezza = !x.gruppi.empty() && std::regex_match(x.gruppi.back(), lunghezza);
    auto trim = [](const std::string& g) {
      const size_t a = g.find_first_not_of(' ');
      return a == std::string::npos ? std::string() : g.substr(a, g.find_last_not_of(' ') - a + 1);
    };
    if (con_lunghezza && x.gruppi.size() == 2) {
      x.tipo = Tipo::kGalleria;
    } else if (con_lunghezza && x.gruppi.size() == 3) {
      x.tipo = Tipo::kGalleriaTreGruppi;
    } else if (x.gruppi.size() == 2 && std::regex_match(trim(x.gruppi[0]), minuscolo)) {
      x.tipo = Tipo::kViadotto;
    } else if (x.gruppi.size() == 2 && !ha_minuscole(x.gruppi[0] + x.gruppi[1])) {
      x.tipo = Tipo::kBivio;
    }
    out.push_back(x);
  }
  return out;
}

TEST(DatiLinea, Indicazioni) {
  const auto righe = sezione("[indicazioni]");
  ASSERT_EQ(righe.size(), 49u);
  const auto ind = indicazioni();
  ASSERT_EQ(ind.size(), 49u);
  std::vector<int32_t> posizioni;
  std::map<Tipo, int> per_tipo;
  size_t larghezza_minima = 100;
  size_t larghezza_massima = 0;
  int non_riempite = 0;
  int tutte_riempite = 0;
  for (const Indicazione& x : ind) {
    posizioni.push_back(x.posizione);
    ++per_tipo[x.tipo];
    ASSERT_FALSE(x.gruppi.empty()) << x.posizione;
    const size_t larghezza = x.gruppi[0].size();
    larghezza_minima = std::min(larghezza_minima, larghezza);
    larghezza_massima = std::max(larghezza_massima, larghezza);
    bool una_senza_spazi = false;
    for (size_t k = 0; k < x.gruppi.size(); ++k) {
      const std::string& g = x.gruppi[k];
      EXPECT_EQ(g.size(), larghezza) << "gruppi di larghezze diverse a " << x.posizione;
      una_senza_spazi = una_senza_spazi || (g.front() != ' ' && g.back() != ' ');
      // Names are in capitals; the viaduct's first line and the " m." of a length are not
      // names.
      const bool lunghezza = k + 1 == x.gruppi.size() &&
                             (x.tipo == Tipo::kGalleria || x.tipo == Tipo::kGalleriaTreGruppi);
      if (!lunghezza && !(x.tipo == Tipo::kViadotto && k == 0)) {
        EXPECT_FALSE(ha_minuscole(g)) << "[" << g << "] a " << x.posizione;
      }
    }
    (una_senza_spazi ? non_riempite : tutte_riempite)++;
  }
  posizioni_in_ordine(posizioni, 4550, 98200, "indicazioni", lunghezza_percorso());
  EXPECT_EQ(larghezza_minima, 6u);
  EXPECT_EQ(larghezza_massima, 16u);
  EXPECT_EQ(non_riempite, 42);
  EXPECT_EQ(tutte_riempite, 7);
  EXPECT_EQ(per_tipo, (std::map<Tipo, int>{{Tipo::kGalleria, 46},
                                           {Tipo::kGalleriaTreGruppi, 1},
                                           {Tipo::kViadotto, 1},
                                           {Tipo::kBivio, 1}}));
  // The first sign: a nine-character name and its length padded to the same width.
  EXPECT_TRUE(
      std::regex_match(righe.front(), std::regex(R"(.*\([A-Z][A-Z ]{7}[A-Z]\)\( 170 m\.  \)$)")))
      << righe.front();
}

TEST(DatiLinea, OgniCartelloDiGalleria50MetriPrimaDelSuoTratto) {
  std::set<int32_t> inizi;
  for (const Montagna& t : montagne()) {
    inizi.insert(t.inizio);
  }
  int cartelli_galleria = 0;
  for (const Indicazione& x : indicazioni()) {
    if (x.tipo != Tipo::kGalleria && x.tipo != Tipo::kGalleriaTreGruppi) {
      continue;
    }
    ++cartelli_galleria;
    EXPECT_EQ(inizi.erase(x.posizione + 50), 1u)
        << "nessun tratto (o un tratto gia segnalato) 50 m dopo il cartello a " << x.posizione;
  }
  EXPECT_EQ(cartelli_galleria, 47);
  EXPECT_EQ(inizi, (std::set<int32_t>{38300, 98350}));
}

TEST(DatiLinea, TabelleEIndicazioniInCelleDiverse) {
  // Both are items of the cell after the one holding their position; with positions on
  // 50 m marks that is p / 50 + 1.
  std::map<int32_t, int32_t> cella_di;
  for (const Tabella& t : tabelle()) {
    EXPECT_TRUE(cella_di.emplace(t.posizione / 50 + 1, t.posizione).second) << t.posizione;
  }
  for (const Indicazione& x : indicazioni()) {
    const auto [it, nuova] = cella_di.emplace(x.posizione / 50 + 1, x.posizione);
    EXPECT_TRUE(nuova) << "indicazione a " << x.posizione << " nella cella della tabella a "
                       << it->second;
  }
}

}  // namespace
