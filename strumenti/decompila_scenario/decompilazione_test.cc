#include "strumenti/decompila_scenario/decompilazione.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "compiler/leggi_binario.h"
#include "prove/andata_e_ritorno.h"
#include "prove/robustezza.h"
#include "prove/scenario_compilato.h"
#include "prove/sorgenti_estese.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"
#include "strumenti/decompila_scenario/prova_di_compilazione.h"

namespace {

const Identita kIncorporato{"Tavena_Crostia", "4417"};

Decompilazione decompila_compilato(const Identita& id, const Compilazione& c) {
  const std::array<std::string_view, kNumeroFileBinari> immagini = immagini_in_ordine(c);
  return decompila(id, immagini[kFileTracciato], immagini[kFileVoci], immagini[kFilePercorso]);
}

TEST(Decompilazione, loScenarioIncorporatoTornaAgliStessiByteEDaUnPuntoFisso) {
  const ScenarioCompilato& s = scenario_incorporato();
  const Decompilazione d = decompila(kIncorporato, s.tracciato, s.voci, s.percorso);
  ASSERT_TRUE(d.sorgenti) << d.difetti.front().dove << ": " << d.difetti.front().descrizione;
  EXPECT_EQ(d.compilazioni, 1);

  const Compilazione c =
      compila(d.sorgenti->linea, d.sorgenti->treno, opzioni_di_compilazione(kIncorporato));
  EXPECT_EQ(c.scenario.codice_errore, 0);
  ASSERT_TRUE(c.ha_immagini());
  EXPECT_EQ(c.immagini->tracciato, s.tracciato);
  EXPECT_EQ(c.immagini->voci, s.voci);
  EXPECT_EQ(c.immagini->percorso, s.percorso);

  const Decompilazione di_nuovo = decompila_compilato(kIncorporato, c);
  ASSERT_TRUE(di_nuovo.sorgenti);
  EXPECT_EQ(di_nuovo.sorgenti->linea, d.sorgenti->linea);
  EXPECT_EQ(di_nuovo.sorgenti->treno, d.sorgenti->treno);
}

TEST(Decompilazione, leSorgentiHannoLeSezioniInOrdineERigheAllineate) {
  const ScenarioCompilato& s = scenario_incorporato();
  const Decompilazione d = decompila(kIncorporato, s.tracciato, s.voci, s.percorso);
  ASSERT_TRUE(d.sorgenti);
  const std::string& linea = d.sorgenti->linea;
  size_t dopo = 0;
  for (const char* sezione : {"[generale]\r\n", "[curve]\r\n", "[pendenze]\r\n", "[montagne]\r\n",
                              "[cartelli]\r\n", "[indicazioni]\r\n", "[fine]\r\n"}) {
    const size_t dove = linea.find(sezione, dopo);
    ASSERT_NE(dove, std::string::npos) << sezione;
    dopo = dove;
  }
  EXPECT_TRUE(linea.ends_with("[fine]\r\n"));
  // The built-in rows, spaces aside.
  EXPECT_NE(linea.find("curvas5,     700,   700\r\n"), std::string::npos);
  EXPECT_NE(
      d.sorgenti->treno.find(
          "stazione,       0,  2,  700,  1, 0, 0,  4,1,0,  2,1,1,    1,   6,18, 0, TAVENA\r\n"),
      std::string::npos);
  EXPECT_NE(d.sorgenti->treno.find("orologio,    6               30            0 \r\n"),
            std::string::npos);
  // Every signal row as long as the others.
  std::istringstream righe(d.sorgenti->treno);
  std::string riga;
  size_t lunghezza = 0;
  while (std::getline(righe, riga)) {
    if (riga.starts_with("segnale,")) {
      if (lunghezza == 0) {
        lunghezza = riga.size();
      }
      EXPECT_EQ(riga.size(), lunghezza) << riga;
    }
  }
  EXPECT_GT(lunghezza, 0u);
}

// Source points of the train: one where the pass would place its own (which then moves one cell
// back), one at another speed and one without a speed.
TEST(Decompilazione, iPuntiDellaSorgenteRestanoEQuelliDellaPassataNo) {
  const std::string linea = testo_delle_righe(dati_linea());
  std::string treno = testo_delle_righe(dati_treno());
  const std::string punti =
      "abbattimento, 9000, 180\r\nabbattimento, 50000, 100\r\nabbattimento, 60000, 0\r\n";
  treno.insert(treno.find("[segnali]"), punti);
  const Compilazione c = compila(linea, treno, opzioni_di_compilazione(kIncorporato));
  ASSERT_EQ(c.scenario.codice_errore, 0);
  const Decompilazione d = decompila_compilato(kIncorporato, c);
  ASSERT_TRUE(d.sorgenti) << d.difetti.front().dove << ": " << d.difetti.front().descrizione;
  EXPECT_NE(d.sorgenti->treno.find("abbattimento,   50000,   100"), std::string::npos);
  EXPECT_NE(d.sorgenti->treno.find("abbattimento,   60000,     0"), std::string::npos);
  EXPECT_GT(d.compilazioni, 1);
}

// Small scenarios whose files only some spellings give back.
struct Piccolo {
  const char* nome;
  std::string linea;  // after the length row
  std::string treno;  // after "[generale]"
};

class ScenariPiccoli : public testing::TestWithParam<Piccolo> {};

TEST_P(ScenariPiccoli, tornanoAgliStessiByte) {
  const std::string linea =
      "[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\n" + GetParam().linea + "[fine]\r\n";
  const std::string treno = "[generale]\r\n" + GetParam().treno + "[fine]\r\n";
  const Compilazione c = compila(linea, treno, opzioni_di_compilazione({"Prova", "1"}));
  ASSERT_EQ(c.scenario.codice_errore, 0);
  EXPECT_EQ(andata_e_ritorno(linea, treno), "");
}

INSTANTIATE_TEST_SUITE_P(
    Casi, ScenariPiccoli,
    testing::Values(
        // Rows repeated at the last cell a row may stand on push the fill past it, one cell a
        // row.
        Piccolo{"strati_oltre_la_fine",
                "pendenza, 7900, 5\r\npendenza, 7900, 6\r\npendenza, 7900, 7\r\n",
                "velocita, 0, 30\r\nvelocita, 7900, 40\r\nvelocita, 7900, 40\r\n"
                "aderenza, 7900, 9\r\naderenza, 7900, 0\r\n"},
        Piccolo{"un_valore_solo_all_inizio", "pendenza, 0, -3\r\n", "aderenza, 0, 77\r\n"},
        Piccolo{"galleria_segnata_e_non", "montagna, 1000, 2000, 12\r\nmontagna, 3000, 3500, 1\r\n",
                ""},
        Piccolo{"indicatore_con_velocita_a_destra",
                "indicatori_vmax, 1000, 60, 70, 80, 2, 35, 40, 45, 1\r\n", ""},
        Piccolo{"segnale_con_tempo_breve", "", "segnale, 3000, 2, 4, 1, 0, 1, 2, 3, 1, 0, 50\r\n"},
        // The last row's approach marks stay where signals mark the same cells.
        Piccolo{"segnali_non_in_ordine", "",
                "segnale, 5000, 1, 4, 0, 0, 5, 0, 0, 0, 0, 0\r\n"
                "segnale, 3700, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
                "segnale, 4800, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230\r\n"},
        Piccolo{"rallentamento_con_avviso", "", "rallentamento, 4000, 60, 300, 1, 1, 10\r\n"},
        // Fillers of a stretch that a later row of another kind cut, and a stretch right after
        // one written later, which the later row's closeness turned into kind 3.
        Piccolo{"riempitivi_sotto_un_altro_tratto",
                "montagna, 1000, 2000, 12\r\nmontagna, 1500, 2500, 4\r\n", ""},
        Piccolo{"tratto_di_un_altro_tipo_subito_dopo",
                "montagna, 2000, 3000, 5\r\nmontagna, 1000, 2000, 2\r\n", ""},
        // A slow-down inside another, one that starts on a half of a cell (its marks before
        // the board go one cell back), and one that starts within a metre of getting a board.
        Piccolo{"rallentamenti_uno_dentro_l_altro", "",
                "rallentamento, 250, 60, 50, 1, 0, 0\r\nrallentamento, 200, 60, 350, 0, 1, 0\r\n"},
        Piccolo{"rallentamento_a_meta_cella", "", "rallentamento, 3225, 60, 500, 0, 1, 10\r\n"},
        Piccolo{"rallentamento_appena_con_avviso", "", "rallentamento, 1507, 60, 500, 1, 1, 0\r\n"},
        // A station's approach marks written over a signal's.
        Piccolo{"marche_della_stazione_dopo_il_segnale", "",
                "segnale, 1200, 0, 2, 1, 0, 0, 1, 1, 0, 0, 219\r\n"
                "stazione, 950, 4, 400, 1, 1, 1, 1,2,3, 4,5,6, 1, 7,0,0, S\r\n"},
        // A signal that writes a station's value into a mark they share asks for no order
        // there, while other marks order the signals before it.
        Piccolo{"segnale_con_le_marche_di_una_stazione", "",
                "stazione, 700, 4, 400, 1, 0, 0, 1,2,3, 4,5,6, 1, 7,0,0, A\r\n"
                "stazione, 1600, 1, 500, 1, 0, 0, 1,2,3, 4,5,6, 1, 7,0,0, B\r\n"
                "segnale, 1926, 2, 0, 2, 0, 1, 2, 2, 0, 0, 181\r\n"
                "segnale, 750, 2, 1, 1, 0, 1, 0, 3, 0, 0, 0\r\n"
                "segnale, 550, 1, 2, 2, 0, 0, 2, 1, 0, 0, 125\r\n"},
        // Items that a station's stop marker covers: what the marker keeps of them brings them
        // back before the station.
        Piccolo{"segnale_sotto_la_fermata", "",
                "segnale, 950, 1, 1, 1, 0, 0, 1, 3, 0, 0, 0\r\n"
                "stazione, 800, 1, 500, 1, 1, 0, 1,2,3, 4,5,6, 1, 7,0,0, S\r\n"},
        Piccolo{"avviso_sotto_la_fermata", "",
                "rallentamento, 2400, 60, 300, 0, 0, 10\r\n"
                "stazione, 800, 7, 500, 1, 0, 1, 1,2,3, 4,5,6, 1, 7,0,0, S\r\n"},
        Piccolo{"indicatore_sotto_la_fermata",
                "indicatori_vmax, 950, 60, 70, 80, 2, 35, 40, 45, 1\r\n",
                "stazione, 800, 1, 500, 1, 1, 0, 1,2,3, 4,5,6, 1, 7,0,0, S\r\n"}),
    [](const testing::TestParamInfo<Piccolo>& i) { return i.param.nome; });

std::string leggi_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Decompilazione, ogniIngressoDelCorpusCompilatoSenzaErroriTornaAgliStessiByte) {
  int provati = 0;
  for (const auto& voce : std::filesystem::directory_iterator(CORPUS_COMPILAZIONE)) {
    const std::string ingresso = leggi_file(voce.path());
    const SorgentiDaIngresso s = dividi_ingresso(ingresso);
    if (!s.treno) {
      continue;
    }
    EXPECT_EQ(andata_e_ritorno(s.linea, *s.treno), "") << voce.path().filename();
    const Compilazione c = compila(s.linea, *s.treno, opzioni_di_compilazione({"Prova", "1"}));
    provati += c.ha_immagini() && c.scenario.codice_errore == 0 ? 1 : 0;
  }
  // The corpus holds the built-in scenario and a small one that compile without an error.
  EXPECT_GE(provati, 2);
}

class LineeLunghe : public testing::TestWithParam<int32_t> {};

TEST_P(LineeLunghe, tornanoAgliStessiByte) {
  const SorgentiEstese e = sorgenti_estese(GetParam());
  const Identita id{"Prova", "1"};
  const Compilazione c = compila(e.linea, e.treno, opzioni_di_compilazione(id));
  ASSERT_EQ(c.scenario.codice_errore, 0);
  EXPECT_EQ(andata_e_ritorno(e.linea, e.treno), "");
}

INSTANTIATE_TEST_SUITE_P(Metri, LineeLunghe, testing::Values(250000, 1000000));

// Files that no compile writes: each is refused with a fault in the file it lies in.
struct Guasto {
  const char* nome;
  FileBinario file;
  void (*guasta)(std::string& byte);
};

const Guasto kGuasti[] = {
    {"file delle celle tagliato", kFilePercorso, [](std::string& b) { b.resize(b.size() - 7); }},
    {"etichetta della pianta sbagliata", kFileTracciato, [](std::string& b) { b[8] = 9; }},
    {"genere di cella che nessuna riga produce", kFilePercorso,
     [](std::string& b) { b[static_cast<size_t>(500 * kByteCella)] = 7; }},
    {"marca della cella 1 cambiata", kFilePercorso,
     [](std::string& b) { b[static_cast<size_t>(kByteCella + 1)] ^= 1; }},
    {"codice della voce 85 cambiato", kFileVoci, [](std::string& b) { b[b.size() - 40] ^= 1; }},
    {"punto della pianta spostato", kFileTracciato,
     [](std::string& b) { b[static_cast<size_t>(8 + 500 * 10 + 2)] ^= 1; }},
    {"cartello senza voce", kFilePercorso,
     [](std::string& b) {
       // An empty cell made a sign of entry 40, which holds no text.
       const size_t c = 700 * kByteCella;
       b[c] = 14;
       b[c + 1] = 40;
     }},
};

class FileImpossibili : public testing::TestWithParam<Guasto> {};

TEST_P(FileImpossibili, sonoRifiutatiConUnDifettoNelFileGuasto) {
  const ScenarioCompilato& s = scenario_incorporato();
  std::array<std::string, kNumeroFileBinari> byte = {s.tracciato, s.voci, s.percorso};
  GetParam().guasta(byte[GetParam().file]);
  const Decompilazione d = decompila(kIncorporato, byte[0], byte[1], byte[2]);
  EXPECT_FALSE(d.sorgenti);
  ASSERT_FALSE(d.difetti.empty());
  EXPECT_EQ(d.difetti.front().file, GetParam().file)
      << d.difetti.front().dove << ": " << d.difetti.front().descrizione;
  EXPECT_GE(d.difetti.front().byte, 0);
}

INSTANTIATE_TEST_SUITE_P(Guasti, FileImpossibili, testing::ValuesIn(kGuasti),
                         [](const testing::TestParamInfo<Guasto>& i) {
                           std::string nome = i.param.nome;
                           for (char& c : nome) {
                             c = c == ' ' ? '_' : c;
                           }
                           return nome + "_" + std::to_string(i.index);
                         });

TEST(PrimaDifferenza, nominaLaCellaEIlCampo) {
  const ScenarioCompilato& s = scenario_incorporato();
  std::string altro = s.percorso;
  altro[static_cast<size_t>(12 * kByteCella + 13)] ^= 1;
  const auto d = prima_differenza(kFilePercorso, s.percorso, altro);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->byte, 12 * kByteCella + 13);
  EXPECT_EQ(d->dove, "cella 12, pendenza_cella");
  EXPECT_FALSE(prima_differenza(kFileVoci, s.voci, s.voci));
}

}  // namespace
