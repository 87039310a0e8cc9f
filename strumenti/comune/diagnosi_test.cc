#include "strumenti/comune/diagnosi.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <utility>

namespace {

// Member by member: GCC 12 at -O2 takes the nested aggregate of a braced note for uninitialised.
Nota nota(Luogo posto, std::string messaggio, std::string riga_sorgente) {
  Nota n;
  n.posto = std::move(posto);
  n.messaggio = std::move(messaggio);
  n.riga_sorgente = std::move(riga_sorgente);
  return n;
}

Diagnosi errore_15() {
  Diagnosi d;
  d.posto = {"dir/Prova_linea.txt", 3, 11};
  d.codice = int32_t{15};
  d.messaggio = "un elemento sta oltre la fine del percorso";
  d.riga_sorgente = "pendenza,  200000 , 4 ";
  return d;
}

TEST(TestoDiagnosi, RigaDellaSorgenteEAccentoSottoIlCampo) {
  EXPECT_EQ(testo_diagnosi(errore_15(), "prog"),
            "dir/Prova_linea.txt:3:11: errore 15: un elemento sta oltre la fine del percorso\n"
            "pendenza,  200000 , 4 \n"
            "          ^\n");
}

// A tab before the field stays a tab under it, so that the caret lines up however wide the
// terminal draws it; a Windows-1252 letter is shown as UTF-8 and still takes one column.
TEST(TestoDiagnosi, TabulazioniELettereDiWindows1252) {
  Diagnosi d = errore_15();
  d.riga_sorgente = "\tstazione,\t0, 2, 700, 1, 0, 0, 4,1,0, 2,1,1, 1, 6,18, 0, CITT\xE0, X";
  const size_t x = d.riga_sorgente.find('X');
  d.posto.colonna = static_cast<int>(x) + 1;
  const std::string testo = testo_diagnosi(d, "prog");
  const std::string atteso_riga =
      "\tstazione,\t0, 2, 700, 1, 0, 0, 4,1,0, 2,1,1, 1, 6,18, 0, CITT\xC3\xA0, X\n";
  const std::string atteso_accento =
      "\t" + std::string(9, ' ') + "\t" + std::string(x - 11, ' ') + "^\n";
  EXPECT_NE(testo.find(atteso_riga + atteso_accento), std::string::npos) << testo;
}

TEST(TestoDiagnosi, AvvisoConIlSuoTipoENota) {
  Diagnosi d;
  d.gravita = Gravita::avviso;
  d.posto = {"t.txt", 9, 1};
  d.codice = std::string("fuori-ordine");
  d.messaggio = "riga fuori ordine";
  d.riga_sorgente = "velocita, 100, 30";
  d.note.push_back(nota({"t.txt", 8, 11}, "la riga precedente", "velocita,  900, 60"));
  EXPECT_EQ(testo_diagnosi(d, "prog"),
            "t.txt:9:1: avviso: riga fuori ordine [fuori-ordine]\n"
            "velocita, 100, 30\n"
            "^\n"
            "t.txt:8:11: nota: la riga precedente\n"
            "velocita,  900, 60\n"
            "          ^\n");
}

// A problem of the file as a whole has no line to show; one of no file names the program.
TEST(TestoDiagnosi, SenzaRigaOSenzaFile) {
  Diagnosi d;
  d.posto = {"x_linea.txt", 0, 0};
  d.codice = int32_t{102};
  d.messaggio = "manca [generale]";
  EXPECT_EQ(testo_diagnosi(d, "prog"), "x_linea.txt: errore 102: manca [generale]\n");
  d.posto = {};
  d.codice = std::monostate{};
  d.messaggio = "Errore n. 1250";
  EXPECT_EQ(testo_diagnosi(d, "prog"), "prog: errore: Errore n. 1250\n");
}

TEST(JsonDiagnosi, UnOggettoSuUnaRigaCheSiRilegge) {
  Diagnosi d = errore_15();
  d.note.push_back(nota({"dir/Prova_4-.txt", 2, 5}, "qui", "x"));
  const std::string riga = json_diagnosi(d);
  EXPECT_EQ(riga.find('\n'), std::string::npos);
  const auto j = nlohmann::json::parse(riga);
  EXPECT_EQ(j.at("file"), "dir/Prova_linea.txt");
  EXPECT_EQ(j.at("line"), 3);
  EXPECT_EQ(j.at("column"), 11);
  EXPECT_EQ(j.at("severity"), "errore");
  EXPECT_EQ(j.at("code"), 15);
  EXPECT_EQ(j.at("message"), "un elemento sta oltre la fine del percorso");
  ASSERT_EQ(j.at("notes").size(), 1u);
  EXPECT_EQ(j.at("notes")[0].at("file"), "dir/Prova_4-.txt");
  EXPECT_EQ(j.at("notes")[0].at("line"), 2);
  EXPECT_EQ(j.at("notes")[0].at("column"), 5);

  d.gravita = Gravita::avviso;
  d.codice = std::string("riga-sconosciuta");
  d.note.clear();
  const auto a = nlohmann::json::parse(json_diagnosi(d));
  EXPECT_EQ(a.at("severity"), "avviso");
  EXPECT_EQ(a.at("code"), "riga-sconosciuta");
  EXPECT_FALSE(a.contains("notes"));
}

TEST(RigaDelTesto, OgniFineRigaComeLaLeggeIlLettore) {
  const std::string testo = "uno\r\ndue\rtre\nquattro";
  const struct {
    int riga;
    const char* attesa;
  } kCasi[] = {{1, "uno"}, {2, "due"}, {3, "tre"}, {4, "quattro"}, {5, ""}, {0, ""}};
  for (const auto& c : kCasi) {
    EXPECT_EQ(riga_del_testo(testo, c.riga), c.attesa) << "riga " << c.riga;
  }
  EXPECT_EQ(riga_del_testo("a\r\n\r\nb\r\n", 2), "");
  EXPECT_EQ(riga_del_testo("a\r\n\r\nb\r\n", 3), "b");
}

// A file that cannot be read is a problem of that file as a whole, in both forms.
TEST(Diagnosi, UnFileCheNonSiLegge) {
  const Diagnosi d =
      diagnosi_del_file(piattaforma::ErroreFile("leggere", "a/b_linea.txt", "non esiste"));
  EXPECT_EQ(testo_diagnosi(d, "compila_scenario"),
            "a/b_linea.txt: errore: impossibile leggere: non esiste\n");
  EXPECT_EQ(json_diagnosi(d),
            R"({"file":"a/b_linea.txt","line":0,"column":0,"severity":"errore","code":null,)"
            R"("message":"impossibile leggere: non esiste"})");
}

}  // namespace
