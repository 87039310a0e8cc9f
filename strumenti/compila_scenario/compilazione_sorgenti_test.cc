#include "strumenti/compila_scenario/compilazione_sorgenti.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/disco_in_memoria.h"
#include "prove/scenario_compilato.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

using piattaforma::DiscoInMemoria;
using piattaforma::ErroreFile;

const std::string kLinea = "/autore/linea della valle.txt";
const std::string kTreno = "/autore/treno.txt";

std::string linea_incorporata() {
  return testo_delle_righe(dati_linea());
}
std::string treno_incorporato() {
  return testo_delle_righe(dati_treno());
}

RichiestaCompilazione richiesta(Identita id = {"Valle", "12"}) {
  RichiestaCompilazione r;
  r.linea = kLinea;
  r.treno = kTreno;
  r.cartella = "/uscita";
  r.identita = std::move(id);
  return r;
}

DiscoInMemoria disco_con(const std::string& linea, const std::string& treno) {
  DiscoInMemoria disco;
  disco.file[kLinea] = linea;
  disco.file[kTreno] = treno;
  return disco;
}

// The sources any name: the compile reads them under the identity's names and the three files
// leave under them, the only files written; the sources are still there, byte for byte.
TEST(CompilaSorgentiAutore, LeggeLeSorgentiEScriveSoloITreFile) {
  DiscoInMemoria disco = disco_con(linea_incorporata(), treno_incorporato());
  const RisultatoCompilazione r =
      compila_sorgenti_autore(disco, richiesta({"Tavena_Crostia", "4417"}));
  EXPECT_FALSE(r.errore_nei_dati);
  EXPECT_TRUE(r.diagnosi.empty());
  const std::vector<std::string> attesi = {"/uscita/Tavena_Crostia_linea.dat",
                                           "/uscita/Tavena_Crostia_4417.sim",
                                           "/uscita/Tavena_Crostia_4417.dat"};
  EXPECT_EQ(r.file_scritti, attesi);
  EXPECT_EQ(disco.file.size(), 5u);
  EXPECT_EQ(disco.file.at(kLinea), linea_incorporata());
  EXPECT_EQ(disco.file.at(kTreno), treno_incorporato());
  const ScenarioCompilato& costruttore = scenario_incorporato();
  EXPECT_TRUE(disco.file.at(attesi[0]) == costruttore.tracciato);
  EXPECT_TRUE(disco.file.at(attesi[1]) == costruttore.voci);
  EXPECT_TRUE(disco.file.at(attesi[2]) == costruttore.percorso);
}

// A name typed as UTF-8 names the files as typed and goes into the entry file as
// Windows-1252, as the builder's own name does.
TEST(CompilaSorgentiAutore, UnNomeUtf8VaNelFileInWindows1252) {
  DiscoInMemoria disco = disco_con(linea_incorporata(), treno_incorporato());
  const RisultatoCompilazione r = compila_sorgenti_autore(disco, richiesta({"Citt\u00e0", "7"}));
  ASSERT_EQ(r.file_scritti.size(), 3u);
  EXPECT_EQ(r.file_scritti[1], "/uscita/Citt\u00e0_7.sim");
  EXPECT_NE(disco.file.at(r.file_scritti[1]).find("Citt\xE0"), std::string::npos);
}

TEST(CompilaSorgentiAutore, SenzaTracciatoNessunFileDelPiano) {
  DiscoInMemoria disco = disco_con(linea_incorporata(), treno_incorporato());
  RichiestaCompilazione q = richiesta();
  q.con_tracciato = false;
  const RisultatoCompilazione r = compila_sorgenti_autore(disco, q);
  EXPECT_EQ(r.file_scritti,
            (std::vector<std::string>{"/uscita/Valle_12.sim", "/uscita/Valle_12.dat"}));
  EXPECT_FALSE(disco.esiste("/uscita/Valle_linea.dat"));
}

// A source that cannot be read stops everything before a file is written; a file that
// cannot be written leaves the three files there were before, at every step of the writing.
TEST(CompilaSorgentiAutore, UnFileCheNonSiLeggeONonSiScrive) {
  DiscoInMemoria senza_treno;
  senza_treno.file[kLinea] = linea_incorporata();
  EXPECT_THROW(compila_sorgenti_autore(senza_treno, richiesta()), ErroreFile);
  EXPECT_EQ(senza_treno.file.size(), 1u);

  DiscoInMemoria riuscito = disco_con(linea_incorporata(), treno_incorporato());
  const std::map<std::string, std::string> prima = {{kLinea, linea_incorporata()},
                                                    {kTreno, treno_incorporato()},
                                                    {"/uscita/Valle_linea.dat", "vecchio piano"},
                                                    {"/uscita/Valle_12.sim", "vecchie voci"},
                                                    {"/uscita/Valle_12.dat", "vecchio percorso"}};
  riuscito.file = prima;
  compila_sorgenti_autore(riuscito, richiesta());
  const int64_t operazioni = riuscito.operazioni;
  for (int64_t guasto = 0; guasto < operazioni; ++guasto) {
    DiscoInMemoria disco;
    disco.file = prima;
    disco.guasto_all_operazione = guasto;
    bool fallita = false;
    try {
      compila_sorgenti_autore(disco, richiesta());
    } catch (const ErroreFile&) {
      fallita = true;
    }
    std::string nomi;
    for (const auto& [nome, testo] : disco.file) {
      nomi += " " + nome;
    }
    // A failure of the last sweep comes after the set was written; no temporary file stays.
    EXPECT_TRUE(fallita ? disco.file == prima || disco.file == riuscito.file
                        : disco.file == riuscito.file)
        << "guasto all'operazione " << guasto << (fallita ? " fallita:" : ":") << nomi;
  }
}

// The problem names the author's own files, for its place and for its note.
TEST(CompilaSorgentiAutore, IProblemiPuntanoAiFileDellAutore) {
  const std::string linea =
      "[generale]\r\nlunghezza percorso, 10000\r\n[indicazioni]\r\n"
      "cartello_indicatore, 4500, X\r\n[fine]\r\n";
  const std::string treno =
      "[generale]\r\nsabbia, 1, 2\r\n"
      "segnale, 4500, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0\r\n[fine]\r\n";
  DiscoInMemoria disco = disco_con(linea, treno);
  const RisultatoCompilazione r = compila_sorgenti_autore(disco, richiesta());
  EXPECT_TRUE(r.errore_nei_dati);
  EXPECT_EQ(r.file_scritti.size(), 3u);
  ASSERT_EQ(r.diagnosi.size(), 2u);

  const Diagnosi& avviso = r.diagnosi[0];
  EXPECT_EQ(avviso.gravita, Gravita::avviso);
  EXPECT_EQ(std::get<std::string>(avviso.codice), "valori-in-piu");
  EXPECT_EQ(avviso.posto.file, kTreno);
  EXPECT_EQ(avviso.riga_sorgente, "sabbia, 1, 2");

  const Diagnosi& errore = r.diagnosi[1];
  EXPECT_EQ(errore.gravita, Gravita::errore);
  EXPECT_EQ(std::get<int32_t>(errore.codice), 16);
  EXPECT_EQ(errore.posto.file, kTreno);
  EXPECT_EQ(errore.posto.riga, 3);
  EXPECT_EQ(errore.posto.colonna, 10);
  EXPECT_EQ(errore.riga_sorgente, "segnale, 4500, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0");
  ASSERT_EQ(errore.note.size(), 1u);
  EXPECT_EQ(errore.note[0].posto.file, kLinea);
  EXPECT_EQ(errore.note[0].posto.riga, 4);
  EXPECT_EQ(errore.note[0].riga_sorgente, "cartello_indicatore, 4500, X");

  std::vector<Diagnosi> come_errori = r.diagnosi;
  avvisi_come_errori(come_errori);
  EXPECT_EQ(come_errori[0].gravita, Gravita::errore);
  EXPECT_EQ(std::get<std::string>(come_errori[0].codice), "valori-in-piu");
}

// Without a track nothing is written; a stamp that finds its cell taken writes nothing either,
// and names the row whose item took the cell.
TEST(CompilaSorgentiAutore, NessunFileSenzaPercorsoOConUnConflittoDeiTimbri) {
  DiscoInMemoria senza_generale = disco_con("lunghezza percorso, 10000\r\n", "[generale]\r\n");
  const RisultatoCompilazione r = compila_sorgenti_autore(senza_generale, richiesta());
  EXPECT_TRUE(r.errore_nei_dati);
  EXPECT_TRUE(r.file_scritti.empty());
  ASSERT_EQ(r.diagnosi.size(), 1u);
  EXPECT_EQ(std::get<int32_t>(r.diagnosi[0].codice), 102);

  // A sign board at 0 lies in cell 1, where the marks go.
  DiscoInMemoria conflitto = disco_con(
      "[generale]\r\nlunghezza percorso, 10000\r\n[indicazioni]\r\n"
      "cartello_indicatore, 0, X\r\n[fine]\r\n",
      "[generale]\r\n[fine]\r\n");
  const RisultatoCompilazione c = compila_sorgenti_autore(conflitto, richiesta());
  EXPECT_TRUE(c.errore_nei_dati);
  EXPECT_TRUE(c.file_scritti.empty());
  EXPECT_EQ(conflitto.file.size(), 2u);
  ASSERT_EQ(c.diagnosi.size(), 1u);
  EXPECT_EQ(c.diagnosi[0].posto.file, kLinea);
  EXPECT_EQ(c.diagnosi[0].posto.riga, 4);
  EXPECT_EQ(c.diagnosi[0].riga_sorgente, "cartello_indicatore, 0, X");
  EXPECT_NE(c.diagnosi[0].messaggio.find("1250"), std::string::npos) << c.diagnosi[0].messaggio;
}

TEST(ScriviEsempio, LeDueSorgentiIncorporateMaiSopraUnFileGiaPresente) {
  DiscoInMemoria disco;
  EXPECT_EQ(
      scrivi_esempio(disco, "/es"),
      (std::vector<std::string>{"/es/Tavena_Crostia_linea.txt", "/es/Tavena_Crostia_4417-.txt"}));
  EXPECT_EQ(disco.file.at("/es/Tavena_Crostia_linea.txt"), linea_incorporata());
  EXPECT_EQ(disco.file.at("/es/Tavena_Crostia_4417-.txt"), treno_incorporato());
  disco.file["/es/Tavena_Crostia_4417-.txt"] = "mio";
  EXPECT_THROW(scrivi_esempio(disco, "/es"), ErroreFile);
  EXPECT_EQ(disco.file.at("/es/Tavena_Crostia_4417-.txt"), "mio");
}

}  // namespace
