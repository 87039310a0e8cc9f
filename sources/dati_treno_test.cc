// The train source as written, checked against the rules its content must keep: sections,
// column layouts, value rules, the spacing of stations by their areas, and the cells that
// its items and those of the line source take on the track.
#include "sources/dati_treno.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/nomi_file.h"
#include "model/scenario.h"
#include "prove/righe_scritte.h"
#include "sources/dati_linea.h"

namespace {

const FileScritto& treno() {
  static const FileScritto file = testo_del_lavoro(dati_treno);
  return file;
}

const FileScritto& linea() {
  static const FileScritto file = testo_del_lavoro(dati_linea);
  return file;
}

// The rows of a source whose keyword is exactly `chiave`.
std::vector<std::string> righe_di(const FileScritto& file, std::string_view chiave) {
  std::vector<std::string> out;
  for (const auto& riga : file.righe) {
    if (campi(riga).front() == chiave) {
      out.push_back(riga);
    }
  }
  return out;
}

// The values of a row laid out in columns: field k after the keyword must be its number
// right-aligned in `larghezze[k]` characters. Returns the numbers.
std::vector<int32_t> in_colonna(const std::string& riga, const std::vector<size_t>& larghezze) {
  const auto f = campi(riga);
  std::vector<int32_t> valori;
  if (f.size() < larghezze.size() + 1) {
    ADD_FAILURE() << "campi mancanti: [" << riga << "]";
    return valori;
  }
  for (size_t k = 0; k < larghezze.size(); ++k) {
    const auto v = intero(f[k + 1]);
    if (!v) {
      ADD_FAILURE() << "campo " << k + 1 << " non numerico: [" << riga << "]";
      valori.push_back(0);
      continue;
    }
    const std::string atteso = std::to_string(*v);
    EXPECT_EQ(f[k + 1],
              std::string(larghezze[k] - std::min(larghezze[k], atteso.size()), ' ') + atteso)
        << "campo " << k + 1 << " fuori colonna (larghezza " << larghezze[k] << "): [" << riga
        << "]";
    valori.push_back(*v);
  }
  return valori;
}

struct Stazione {
  std::vector<int32_t> v;  // values 1 to 16
  std::string nome;
  int32_t posizione() const { return v[0]; }
  int32_t categoria() const { return v[1]; }
  int32_t lunghezza() const { return v[2]; }
  int32_t sosta() const { return v[12]; }
  int32_t orario() const { return v[13] * 3600 + v[14] * 60 + v[15]; }
  // The area the train phase gives the station.
  std::pair<int32_t, int32_t> area() const {
    const int32_t p = posizione();
    const int32_t l = lunghezza();
    switch (categoria()) {
      case 5:
      case 6:
        return {p - l, p + 150};
      case 7:
      case 8:
        return {p - l, p + l};
      default:
        return {p - l / 2, p + l / 2 + (v[5] != 0 ? 50 : 0)};
    }
  }
};

const std::vector<size_t> kColonneStazione = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};

std::vector<Stazione> stazioni() {
  std::vector<Stazione> out;
  for (const auto& riga : righe_di(treno(), "stazione")) {
    Stazione s{in_colonna(riga, kColonneStazione), {}};
    if (s.v.size() != kColonneStazione.size() || riga.size() < 73) {
      ADD_FAILURE() << "riga di stazione incompleta: [" << riga << "]";
      continue;
    }
    s.nome = riga.substr(72);
    out.push_back(s);
  }
  return out;
}

const std::vector<size_t> kColonneSegnale = {8, 4, 2, 2, 3, 2, 5, 3, 1, 1};

struct Segnale {
  int32_t posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
};

std::vector<Segnale> segnali() {
  std::vector<Segnale> out;
  for (const auto& riga : righe_di(treno(), "segnale")) {
    const auto v = in_colonna(riga, kColonneSegnale);
    const auto f = campi(riga);
    if (v.size() != kColonneSegnale.size() || f.size() != 12) {
      ADD_FAILURE() << "segnale fuori forma: [" << riga << "]";
      continue;
    }
    EXPECT_TRUE(f[11].size() >= 2 && f[11][0] == ' ' && f[11][1] != ' ') << riga;
    out.push_back(
        {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], intero(f[11]).value_or(-1)});
  }
  return out;
}

TEST(DatiTreno, OttoSezioniAlleRigheFisse) {
  const auto& righe = treno().righe;
  ASSERT_EQ(righe.size(), 125u);
  EXPECT_EQ(treno().righe_dichiarate, 125);
  const std::vector<std::pair<size_t, std::string>> attese = {
      {0, "[generale]"},       {5, "[aderenze]"}, {24, "[vel_limite]"}, {47, "[stazioni]"},
      {77, "[rallentamenti]"}, {81, "[segnali]"}, {123, "[codici]"},    {124, "[fine]"}};
  const auto trovate = intestazioni(righe);
  EXPECT_EQ(trovate, attese);
  for (const auto& [i, intestazione] : trovate) {
    for (const char* parola : {"stazione", "segnale", "rallentamento", "aderenza", "velocit",
                               "abbattimento", "orologio", "sabbia", "vetture", "frenata"}) {
      EXPECT_EQ(intestazione.find(parola), std::string::npos) << intestazione << " / " << parola;
    }
  }
}

TEST(DatiTreno, RigheInAsciiConSpaziSoloDopoLeVirgole) {
  int con_spazio_finale = 0;
  for (const auto& riga : treno().righe) {
    EXPECT_LE(riga.size(), 92u) << riga;
    EXPECT_TRUE(std::all_of(riga.begin(), riga.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
        << riga;
    EXPECT_EQ(riga.find(" ,"), std::string::npos) << "spazio prima di una virgola: " << riga;
    EXPECT_EQ(riga.find(",        "), std::string::npos) << "otto spazi dopo una virgola: " << riga;
    if (riga.ends_with(" ")) {
      ++con_spazio_finale;
      EXPECT_TRUE(riga.starts_with("orologio,")) << riga;
    }
  }
  EXPECT_EQ(con_spazio_finale, 1);
  EXPECT_EQ(treno().byte.find("riferimento fine del file"), std::string::npos);
}

TEST(DatiTreno, RigheGenerali) {
  const auto& righe = treno().righe;
  ASSERT_GE(righe.size(), 5u);
  const std::vector<std::string> attese = {"numero vetture,    5",
                                           "percentuale massa frenata,    120", "sabbia,    300",
                                           "orologio,    6               30            0 "};
  EXPECT_EQ(std::vector<std::string>(righe.begin() + 1, righe.begin() + 5), attese);
}

TEST(DatiTreno, Aderenze) {
  const auto righe = righe_di(treno(), "aderenza");
  ASSERT_EQ(righe.size(), 18u);
  std::vector<int32_t> posizioni;
  std::map<int32_t, int> per_valore;
  for (size_t i = 0; i < righe.size(); ++i) {
    const auto f = campi(righe[i]);
    ASSERT_EQ(f.size(), 3u) << righe[i];
    EXPECT_TRUE(f[1].starts_with("   ") && f[1][3] != ' ') << righe[i];
    const auto posizione = intero(f[1]);
    const auto valore = intero(f[2]);
    ASSERT_TRUE(posizione && valore) << righe[i];
    posizioni.push_back(*posizione);
    ++per_valore[*valore];
    const std::string cifre = std::to_string(*valore);
    const size_t spazi = i == 0 ? 4 : 6 - cifre.size();
    EXPECT_EQ(f[2], std::string(spazi, ' ') + cifre) << righe[i];
  }
  posizioni_in_ordine(posizioni, 0, 90800, "aderenze");
  EXPECT_EQ(per_valore, (std::map<int32_t, int>{{70, 4}, {80, 4}, {85, 4}, {90, 2}, {100, 4}}));
  EXPECT_EQ(righe.front(), "aderenza,   0,    100");
  EXPECT_EQ(righe.back(), "aderenza,   90800,   100");
  EXPECT_TRUE(contiene(righe, "aderenza,   24350,    80"));
  EXPECT_TRUE(contiene(righe, "aderenza,   24600,   100"));
}

TEST(DatiTreno, VelocitaInColonna) {
  const auto righe = righe_di(treno(), "velocita");
  ASSERT_EQ(righe.size(), 22u);
  std::vector<int32_t> posizioni;
  std::set<int32_t> usate;
  for (const auto& riga : righe) {
    const auto v = in_colonna(riga, {8, 6});
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(campi(riga).size(), 3u) << riga;
    posizioni.push_back(v[0]);
    usate.insert(v[1]);
  }
  posizioni_in_ordine(posizioni, 0, 99650, "velocita");
  EXPECT_EQ(usate, (std::set<int32_t>{30, 60, 65, 75, 85, 90, 95, 100, 105, 120, 135}));
  EXPECT_EQ(righe[0], "velocita,       0,    30");
  EXPECT_EQ(righe[1], "velocita,     800,    85");
  EXPECT_EQ(righe.back(), "velocita,   99650,    30");
}

TEST(DatiTreno, StazioniInColonna) {
  const auto righe = righe_di(treno(), "stazione");
  ASSERT_EQ(righe.size(), 29u);
  for (const auto& riga : righe) {
    ASSERT_GE(riga.size(), 73u) << riga;
    EXPECT_EQ(riga[70], ',') << riga;
    EXPECT_EQ(riga[71], ' ') << riga;
    EXPECT_NE(riga[72], ' ') << riga;
    EXPECT_EQ(campi(riga).size(), 18u) << "virgole in piu o in meno: " << riga;
  }
  EXPECT_EQ(righe.front(),
            "stazione,       0,  2,  700,  1, 0, 0,  4,1,0,  2,1,1,    1,   6,18, 0, TAVENA");
  const auto st = stazioni();
  ASSERT_EQ(st.size(), 29u);
  std::vector<std::set<int32_t>> usati(16);
  std::vector<int32_t> posizioni;
  size_t nome_corto = 100;
  size_t nome_lungo = 0;
  for (const Stazione& s : st) {
    posizioni.push_back(s.posizione());
    for (size_t k = 0; k < 16; ++k) {
      usati[k].insert(s.v[k]);
    }
    EXPECT_EQ(s.lunghezza() % 100, 0) << s.nome;
    nome_corto = std::min(nome_corto, s.nome.size());
    nome_lungo = std::max(nome_lungo, s.nome.size());
    EXPECT_TRUE(std::all_of(s.nome.begin(), s.nome.end(), [](char c) {
      return (c >= 'A' && c <= 'Z') || c == ' ' || c == '.';
    })) << s.nome;
  }
  posizioni_in_ordine(posizioni, 0, 100750, "stazioni");
  EXPECT_EQ(nome_corto, 5u);
  EXPECT_EQ(nome_lungo, 20u);
  const std::vector<std::set<int32_t>> attesi = {usati[0],
                                                 {2, 4, 6, 12, 22, 25, 27, 28},
                                                 {200, 300, 400, 500, 700},
                                                 {0, 1},
                                                 {0},
                                                 {0},
                                                 {0, 1, 4},
                                                 {0, 1},
                                                 {0, 1},
                                                 {0, 2, 4},
                                                 {0, 1},
                                                 {0, 1},
                                                 {0, 1, 30, 60},
                                                 {0, 6, 7, 8},
                                                 usati[14],
                                                 {0}};
  EXPECT_EQ(usati, attesi);
  EXPECT_EQ(st.front().categoria(), 2);
  EXPECT_EQ(st.back().categoria(), 6);
  EXPECT_EQ(st.back().lunghezza(), 500);
  EXPECT_EQ(st.back().nome, "CROSTIA C.L.V.");
  EXPECT_EQ(*usati[14].begin(), 0);
  EXPECT_EQ(*usati[14].rbegin(), 58);
}

TEST(DatiTreno, OrariESosteDelleStazioni) {
  const auto st = stazioni();
  ASSERT_EQ(st.size(), 29u);
  std::vector<int32_t> orari;
  int senza_orario = 0;
  for (size_t i = 0; i < st.size(); ++i) {
    const Stazione& s = st[i];
    if (s.orario() == 0) {
      ++senza_orario;
      EXPECT_EQ(s.sosta(), 0) << s.nome;
      continue;
    }
    orari.push_back(s.orario());
    if (i == 0) {
      EXPECT_EQ(s.sosta(), 1);
    } else if (i + 1 < st.size()) {
      EXPECT_TRUE(s.sosta() == 30 || s.sosta() == 60) << s.nome;
    } else {
      EXPECT_EQ(s.sosta(), 0) << s.nome;
    }
  }
  EXPECT_EQ(senza_orario, 11);
  ASSERT_EQ(orari.size(), 18u);
  EXPECT_EQ(orari.front(), 6 * 3600 + 18 * 60);
  EXPECT_EQ(orari.back(), 8 * 3600 + 15 * 60);
  EXPECT_EQ(std::adjacent_find(orari.begin(), orari.end(), std::greater_equal<>()), orari.end())
      << "orari non crescenti";
  // The clock starts twelve minutes after the first scheduled time.
  EXPECT_EQ(orari.front() + 12 * 60, 6 * 3600 + 30 * 60);
}

TEST(DatiTreno, StazioniDistanziateSecondoLeAree) {
  const auto st = stazioni();
  ASSERT_EQ(st.size(), 29u);
  const int32_t lunghezza = intero(campi(linea().righe.at(1)).at(1)).value_or(0);
  const int32_t ultima_cella = (lunghezza + 7000) / 50;
  bool al_limite = false;
  for (size_t i = 0; i < st.size(); ++i) {
    const auto [inizio, fine] = st[i].area();
    EXPECT_LE(st[i].posizione() + 800, 50 * ultima_cella) << st[i].nome;
    if (st[i].categoria() < 25) {
      EXPECT_GT(fine / 50 - 1, 1) << "cella di fermata di " << st[i].nome;
    }
    if (i > 0) {
      const int32_t distacco = inizio - st[i - 1].area().second;
      EXPECT_GE(distacco, 350) << st[i - 1].nome << " - " << st[i].nome;
      al_limite = al_limite ||
                  (distacco == 350 && st[i - 1].posizione() == 97250 && st[i].posizione() == 97800);
    }
  }
  EXPECT_TRUE(al_limite) << "le stazioni a 97250 e 97800 non sono al limite di 350 m";
}

TEST(DatiTreno, StazioniEIndicazioniRiempionoLeVoci) {
  // Stations take entries from 1 up, sign texts from the first sign entry down; they may
  // not meet, and this scenario fills every entry between them.
  const size_t stazioni = righe_di(treno(), "stazione").size();
  const size_t indicazioni = righe_di(linea(), "cartello_indicatore").size();
  EXPECT_EQ(stazioni + indicazioni, static_cast<size_t>(kPrimaVoceCartello - 2));
}

TEST(DatiTreno, Rallentamenti) {
  const std::vector<std::string> attese = {"rallentamento,    9200,    70,  300, 0,  1,  0",
                                           "rallentamento,   41700,    30,  200, 0,  0,  0",
                                           "rallentamento,   86750,    50,  600, 0,  0,  0"};
  EXPECT_EQ(righe_di(treno(), "rallentamento"), attese);
  for (const auto& riga : attese) {
    EXPECT_EQ(in_colonna(riga, {8, 6, 5, 2, 3, 3}).size(), 6u);
  }
}

TEST(DatiTreno, Segnali) {
  const auto righe = righe_di(treno(), "segnale");
  ASSERT_EQ(righe.size(), 41u);
  const auto sg = segnali();
  ASSERT_EQ(sg.size(), 41u);
  std::vector<int32_t> posizioni;
  std::map<int32_t, int> per_sx;
  std::set<int32_t> s1;
  std::set<int32_t> s2;
  std::vector<int32_t> tempi;
  int s3 = 0;
  int rapp = 0;
  for (size_t i = 0; i < sg.size(); ++i) {
    const Segnale& s = sg[i];
    const bool ultimi_due = i + 2 >= sg.size();
    posizioni.push_back(s.posizione);
    ++per_sx[s.sx];
    if (s.sx == 1) {
      EXPECT_TRUE(i + 1 < sg.size() && sg[i + 1].sx == 2)
          << "avviso senza segnale dopo: " << s.posizione;
    }
    s1.insert(s.s1);
    s2.insert(s.s2);
    EXPECT_TRUE(s.s3 == 0 || s.s3 == 1) << s.posizione;
    EXPECT_TRUE(s.rapp == 0 || s.rapp == 1) << s.posizione;
    s3 += s.s3;
    rapp += s.rapp;
    EXPECT_EQ(s.dx, ultimi_due ? 2 : 0) << s.posizione;
    EXPECT_EQ(s.d1, ultimi_due ? 2 : 0) << s.posizione;
    EXPECT_EQ(s.d2, ultimi_due ? 1 : 0) << s.posizione;
    EXPECT_EQ(s.d3, i + 1 == sg.size() ? 1 : 0) << s.posizione;
    if (s.tempo != 0) {
      tempi.push_back(s.tempo);
    }
  }
  posizioni_in_ordine(posizioni, 4500, 99600, "segnali");
  EXPECT_EQ(per_sx, (std::map<int32_t, int>{{1, 18}, {2, 23}}));
  EXPECT_EQ(s1, (std::set<int32_t>{2, 3, 4, 5}));
  EXPECT_EQ(s2, (std::set<int32_t>{0, 1, 3, 6}));
  EXPECT_EQ(s3, 1);
  EXPECT_EQ(rapp, 2);
  EXPECT_EQ(tempi, (std::vector<int32_t>{220, 230, 245, 230}));
  EXPECT_EQ(righe.front(), "segnale,    4500,   1, 4, 0,  0, 0,    0,  0,0,0, 0");
  EXPECT_TRUE(contiene(righe, "segnale,   24200,   2, 3, 1,  0, 0,    0,  0,0,0, 220"));
  EXPECT_TRUE(contiene(righe, "segnale,   73550,   2, 2, 3,  0, 1,    0,  0,0,0, 0"));
  EXPECT_EQ(righe[39], "segnale,   98650,   2, 3, 1,  0, 0,    2,  2,1,0, 0");
  EXPECT_EQ(righe[40], "segnale,   99600,   2, 2, 3,  1, 0,    2,  2,1,1, 230");
}

TEST(DatiTreno, OgniElementoDelPercorsoInUnaCellaPropria) {
  // Every item is placed on a cell of its own, in this order: speed boards and sign boards
  // (line source), station stop markers, slow-down cells, signals. All positions are on
  // 50 m marks, so every cell index is exact.
  std::map<int32_t, std::string> occupate;
  auto metti = [&](int32_t cella, const std::string& cosa) {
    const auto [it, nuova] = occupate.emplace(cella, cosa);
    EXPECT_TRUE(nuova) << cosa << " nella cella " << cella << " di " << it->second;
  };
  for (const char* chiave : {"indicatori_vmax", "cartello_indicatore"}) {
    for (const auto& riga : righe_di(linea(), chiave)) {
      const int32_t p = intero(campi(riga).at(1)).value_or(-1);
      metti(p / 50 + 1, riga);
    }
  }
  for (const Stazione& s : stazioni()) {
    if (s.categoria() < 25) {
      metti(s.area().second / 50 - 1, "fermata di " + s.nome);
    }
  }
  for (const auto& riga : righe_di(treno(), "rallentamento")) {
    const auto v = in_colonna(riga, {8, 6, 5, 2, 3, 3});
    ASSERT_EQ(v.size(), 6u);
    const int32_t x = v[0];
    metti(x / 50 + 1, "inizio di " + riga);
    metti((x + v[2]) / 50 + 1, "fine di " + riga);
    if (x > 1500) {
      metti((x - 1200) / 50 + 1, "avviso di " + riga);
      for (int32_t k = 0; v[4] != 0 && k < 4; ++k) {
        metti((x - 1200) / 50 - k, "prima dell'avviso di " + riga);
      }
    }
  }
  for (const Segnale& s : segnali()) {
    metti(s.posizione / 50 + 1, "segnale a " + std::to_string(s.posizione));
  }
}

}  // namespace
