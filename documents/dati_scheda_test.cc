// The timetable card as written: its fixed lines, its columns read by position, the kinds of
// timetable rows and their counts, the chainage and the times along the run.
#include "documents/dati_scheda.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "model/nomi_file.h"
#include "prove/righe_scritte.h"

namespace {

const FileScritto& scheda() {
  static const FileScritto file = testo_del_lavoro(dati_scheda);
  return file;
}

// Positions count from 1 at the leading blank, as on the card.
std::string colonna(const std::string& riga, size_t da, size_t a) {
  return riga.size() >= a ? riga.substr(da - 1, a - da + 1) : std::string();
}

std::vector<std::string> righe_orario() {
  const auto& r = scheda().righe;
  return r.size() == 62 ? std::vector<std::string>(r.begin() + 14, r.begin() + 58)
                        : std::vector<std::string>();
}

enum class Tipo { kOrigine, kFermata, kTransito, kDestinazione, kIgnoto };

// Times in half minutes after midnight, in the order the row shows them.
struct Orario {
  Tipo tipo = Tipo::kIgnoto;
  std::vector<int32_t> mezzi_minuti;
};

Orario orario(const std::string& campo) {
  static const std::regex origine(R"(^ {12}(\d)\.(\d\d)([+ ])$)");
  static const std::regex fermata(R"(^  (\d)\.(\d\d)([+ ]) {5}(\d)\.(\d\d)([+ ])$)");
  static const std::regex transito(R"(^ {7}(\d)\.(\d\d)([+ ]) {5}$)");
  static const std::regex destinazione(R"(^  (\d)\.(\d\d)([+ ]) {10}$)");
  const std::pair<const std::regex*, Tipo> forme[] = {{&origine, Tipo::kOrigine},
                                                      {&fermata, Tipo::kFermata},
                                                      {&transito, Tipo::kTransito},
                                                      {&destinazione, Tipo::kDestinazione}};
  Orario out;
  for (const auto& [forma, tipo] : forme) {
    std::smatch m;
    if (std::regex_match(campo, m, *forma)) {
      out.tipo = tipo;
      for (size_t k = 1; k + 2 < m.size(); k += 3) {
        const int32_t minuti = std::stoi(m[k]) * 60 + std::stoi(m[k + 1]);
        EXPECT_LT(std::stoi(m[k + 1]), 60) << campo;
        out.mezzi_minuti.push_back(2 * minuti + (m[k + 2] == "+" ? 1 : 0));
      }
    }
  }
  return out;
}

TEST(DatiScheda, RigheFisse) {
  const auto& r = scheda().righe;
  ASSERT_EQ(r.size(), 62u);
  EXPECT_EQ(scheda().righe_dichiarate, 62);
  const std::vector<std::string> testa = {
      "  ___________________                                                ______________",
      " |                   |                  SCHEDA                      |              |",
      " |   TRENO n. 4417   |                 da: TAVENA                   |    V140 A    |",
      " |___________________|                  a: CROSTIA C.L.V.           |     120%     |",
      "                                                                    |______________|",
      "  ___________________                ___________________",
      " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
      " |     REGIONALE     |              |      300T         |",
      " |___________________|              |___________________|",
      "",
      "  _________________________________________________________________________________",
      " | Vel.| Vel.| Progr Km | No  |  Localita' di Servizio     |     Orario      | Rec |",
      " | Lim.|Marc.|          | Rs  |                            |                 |     |",
      " |_____|_____|__________|_____|____________________________|_________ _______|_____|",
  };
  EXPECT_EQ(std::vector<std::string>(r.begin(), r.begin() + 14), testa);
  const std::vector<std::string> coda = {
      " |_____|_____|__________|_____|____________________________|_________________|_____|",
      "",
      "",
      "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.",
  };
  EXPECT_EQ(std::vector<std::string>(r.begin() + 58, r.end()), coda);
  EXPECT_EQ(scheda().byte.find("riferimento fine del file"), std::string::npos);
}

TEST(DatiScheda, ColonneDelleRigheDOrario) {
  const auto righe = righe_orario();
  ASSERT_EQ(righe.size(), 44u);
  const std::regex velocita(R"(^( {5}| *\d+ )$)");
  const std::regex progressiva(R"(^ *\d+\.\d{3} $)");
  const std::regex localita(R"(^ \S.*$)");
  int con_spazio_finale = 0;
  for (size_t i = 0; i < righe.size(); ++i) {
    const std::string& riga = righe[i];
    ASSERT_TRUE(riga.size() == 84 || riga.size() == 85) << riga;
    if (riga.size() == 85) {
      ++con_spazio_finale;
      EXPECT_EQ(riga.back(), ' ') << riga;
    }
    std::vector<size_t> barre;
    for (size_t k = 0; k < riga.size(); ++k) {
      if (riga[k] == '|') {
        barre.push_back(k + 1);
      }
    }
    EXPECT_EQ(barre, (std::vector<size_t>{2, 8, 14, 25, 31, 60, 78, 84})) << riga;
    EXPECT_EQ(riga[0], ' ') << riga;
    EXPECT_TRUE(std::regex_match(colonna(riga, 3, 7), velocita)) << riga;
    EXPECT_TRUE(std::regex_match(colonna(riga, 9, 13), velocita)) << riga;
    EXPECT_TRUE(std::regex_match(colonna(riga, 15, 24), progressiva)) << riga;
    EXPECT_EQ(colonna(riga, 26, 30), "     ") << riga;
    EXPECT_TRUE(std::regex_match(colonna(riga, 32, 59), localita)) << riga;
    const std::string rec = colonna(riga, 79, 83);
    EXPECT_TRUE(rec == " 0,5 " || rec == "     ") << riga;
    if (i < 2) {
      EXPECT_EQ(riga.size(), 85u) << "le prime due righe finiscono con uno spazio";
    }
  }
  EXPECT_EQ(con_spazio_finale, 5);
}

TEST(DatiScheda, TipiDiRigaEConteggi) {
  const auto righe = righe_orario();
  ASSERT_EQ(righe.size(), 44u);
  std::map<Tipo, int> per_tipo;
  int recuperi = 0;
  int entrambe = 0;
  int solo_limite = 0;
  int solo_marcia = 0;
  for (size_t i = 0; i < righe.size(); ++i) {
    const std::string& riga = righe[i];
    const Orario o = orario(colonna(riga, 61, 77));
    ASSERT_NE(o.tipo, Tipo::kIgnoto) << "orario fuori forma: " << riga;
    ++per_tipo[o.tipo];
    if (i == 0) {
      EXPECT_EQ(o.tipo, Tipo::kOrigine);
    } else if (i + 1 == righe.size()) {
      EXPECT_EQ(o.tipo, Tipo::kDestinazione);
    }
    if (colonna(riga, 79, 83) == " 0,5 ") {
      ++recuperi;
      EXPECT_EQ(o.tipo, Tipo::kFermata) << "recupero fuori da una fermata: " << riga;
    }
    const bool limite = colonna(riga, 3, 7) != "     ";
    const bool marcia = colonna(riga, 9, 13) != "     ";
    entrambe += limite && marcia ? 1 : 0;
    solo_limite += limite && !marcia ? 1 : 0;
    solo_marcia += !limite && marcia ? 1 : 0;
  }
  EXPECT_EQ(per_tipo, (std::map<Tipo, int>{{Tipo::kOrigine, 1},
                                           {Tipo::kFermata, 16},
                                           {Tipo::kTransito, 26},
                                           {Tipo::kDestinazione, 1}}));
  EXPECT_EQ(recuperi, 7);
  EXPECT_EQ(entrambe, 16);
  EXPECT_EQ(solo_limite, 3);
  EXPECT_EQ(solo_marcia, 1);
}

TEST(DatiScheda, ProgressivaEOrariLungoLaCorsa) {
  const auto righe = righe_orario();
  ASSERT_EQ(righe.size(), 44u);
  std::vector<std::string> km;
  std::vector<double> valori;
  std::vector<int32_t> tempi;
  for (const auto& riga : righe) {
    km.push_back(colonna(riga, 15, 24));
    valori.push_back(std::stod(km.back()));
    const Orario o = orario(colonna(riga, 61, 77));
    tempi.insert(tempi.end(), o.mezzi_minuti.begin(), o.mezzi_minuti.end());
  }
  EXPECT_EQ(km.front(), "  100.949 ");
  EXPECT_EQ(km[41], "    3.184 ");
  EXPECT_EQ(km[42], "  311.762 ");
  EXPECT_EQ(km[43], "  314.050 ");
  for (size_t i = 1; i <= 41; ++i) {
    EXPECT_LT(valori[i], valori[i - 1]) << righe[i];
  }
  ASSERT_FALSE(tempi.empty());
  EXPECT_EQ(tempi.front(), 2 * (6 * 60 + 18));
  EXPECT_EQ(tempi.back(), 2 * (8 * 60 + 15));
  EXPECT_EQ(std::adjacent_find(tempi.begin(), tempi.end(), std::greater<>()), tempi.end())
      << "un orario precede il precedente";
}

TEST(DatiScheda, RigheDEsempio) {
  const auto righe = righe_orario();
  ASSERT_EQ(righe.size(), 44u);
  EXPECT_EQ(
      righe.front(),
      " |  30 |  30 |  100.949 |     | TAVENA                     |            6.18 |     | ");
  EXPECT_NE(
      std::find(righe.begin(), righe.end(),
                " | 105 | 100 |   98.900 |     | Chilometro 98+900          |       6.20+     "
                "|     |"),
      righe.end());
  EXPECT_EQ(righe.back(),
            " |     |     |  314.050 |     | CROSTIA C.L.V.             |  8.15           |     |");
}

}  // namespace
