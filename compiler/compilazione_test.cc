// A small but complete scenario compiled end to end, from two sources in a folder to the three
// binary files.
#include <gtest/gtest.h>

#include <string>

#include "compiler/memorizza_percorso.h"
#include "prove/sorgenti_di_prova.h"

namespace {

struct File {
  std::string tracciato, voci, percorso;
  bool operator==(const File&) const = default;
};

// Writes the two sources, compiles them with a fresh model and reads the three files back.
File compila(SorgentiDiProva& p) {
  p.linea({"[generale]", "lunghezza percorso, 10000", "progressiva chilometrica uno, 0, 10000, 0",
           "[curve]", "curvad4, 1000, 500", "curvas5, 3000, 400", "[pendenze]", "- una nota",
           "pendenza, 850, 4", "pendenza, 5000, -6", "[montagne]", "montagna, 6000, 6600, 11",
           "[cartelli]", "indicatori_vmax, 800, 60, 70, 70, 0, , , , 0", "[indicazioni]",
           "cartello_indicatore, 5950, (GALLERIA)( 600 m. )", "[fine]"});
  p.treno({"[generale]",
           "numero vetture, 3",
           "percentuale massa frenata, 100",
           "sabbia, 200",
           "orologio, 7 0 0",
           "[aderenze]",
           "aderenza, 0, 90",
           "[vel_limite]",
           "velocita, 0, 60",
           "velocita, 2000, 100",
           "[stazioni]",
           "stazione, 0, 2, 400, 0,0,0, 0,0,0, 0,0,0, 1, 7,0,0, PRIMA",
           "stazione, 9000, 4, 400, 0,0,0, 0,0,0, 0,0,0, 60, 7,10,0, SECONDA",
           "[rallentamenti]",
           "rallentamento, 4000, 50, 300, 0, 1, 0",
           "[segnali]",
           "segnale, 2500, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0",
           "segnale, 3700, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0",
           "segnale, 4800, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0",
           "[fine]"});
  p.s = Scenario{};
  p.s.nome_scenario = "Prova";
  p.s.numero_treno = "1";
  memorizza_percorso(p.s, p.cartella.disco, p.cartella.percorso(), 1);
  return {p.cartella.leggi("Prova_linea.dat"), p.cartella.leggi("Prova_1.sim"),
          p.cartella.leggi("Prova_1.dat")};
}

uint8_t genere_nel_file(const std::string& percorso, int cella) {
  return static_cast<uint8_t>(percorso[static_cast<size_t>(15 * cella)]);
}

TEST(Compilazione, DaDueSorgentiATreFile) {
  SorgentiDiProva p;
  const File f = compila(p);
  EXPECT_EQ(p.s.codice_errore, 0) << p.s.posizione_errore;
  EXPECT_FALSE(p.linea_esiste());
  EXPECT_FALSE(p.treno_esiste());

  // 17000 m of plan: two integers, 16997 reals and two empties per column.
  EXPECT_EQ(f.tracciato.size(), 2u * (2 * 4 + 16997 * 10 + 2 * 2));
  // 87 records of 34 bytes and the texts: the sign, two stations, name and train number.
  EXPECT_EQ(f.voci.size(), 87u * 34 + 20 + 5 + 7 + 5 + 1);
  ASSERT_EQ(f.percorso.size(), 15u * 341);

  // Items of both sources, and the speed points added after the parse: before the signal that
  // precedes the warning board, in the three windows before the slow-down, and before the
  // signal after its end.
  const struct {
    int cella;
    uint8_t genere;
  } attesi[] = {{3, kFermata},
                {17, kIndicatoreVelocita},
                {50, kAbbattimentoConVelocita},
                {51, kSegnale},
                {53, kPrimaDellAvviso},
                {57, kAvvisoRallentamento},
                {63, kAbbattimentoConVelocita},
                {70, kAbbattimentoConVelocita},
                {75, kSegnale},
                {76, kAbbattimentoConVelocita},
                {81, kInizioRallentamento},
                {87, kFineRallentamento},
                {96, kAbbattimentoConVelocita},
                {97, kSegnale},
                {120, kCartello},
                {123, kRiempitivoGalleria},
                {183, kFermata}};
  int elementi = 0;
  for (int c = 0; c <= 340; ++c) {
    elementi += genere_nel_file(f.percorso, c) != 0 ? 1 : 0;
  }
  for (const auto& a : attesi) {
    EXPECT_EQ(genere_nel_file(f.percorso, a.cella), a.genere) << "cella " << a.cella;
  }
  EXPECT_EQ(elementi, 17 + 3 + 2);  // plus two more fillers and three more cells before the board
  // The mark 5121 in cell 1.
  EXPECT_EQ(f.percorso.substr(16, 2), std::string("\x01\x14", 2));
}

TEST(Compilazione, DueCompilazioniDannoGliStessiByte) {
  SorgentiDiProva p;
  const File prima = compila(p);
  const File seconda = compila(p);
  EXPECT_TRUE(prima == seconda);
}

}  // namespace
