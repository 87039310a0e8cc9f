#include "compiler/registratori.h"

#include <gtest/gtest.h>

#include "compiler/errore_esecuzione.h"

namespace {

// The recorders that change a value of their row, on a row of the given values; the value as
// the recorder leaves it goes back into the caller's variable.
void registra_montagna(Scenario& s, Registrazione& r, RigaMontagna riga, int32_t& tipo) {
  riga.tipo = tipo;
  memo_montagna(s, r, riga);
  tipo = riga.tipo;
}
void registra_segnale(Scenario& s, Registrazione& r, RigaSegnale riga, int32_t& tempo) {
  riga.tempo = tempo;
  memo_segnale(s, r, riga);
  tempo = riga.tempo;
}

// The row being recorded, for the tests that do not look at where the items come from.
Provenienze provenienze_di_prova;
Registrazione riga{provenienze_di_prova, {"Prova_1-.txt", 7, 1}};

// A track of cells 0 to ultima, all free.
Scenario percorso_libero(int32_t ultima = 2160) {
  Scenario s;
  s.ultima_cella = ultima;
  s.percorso.assign(static_cast<size_t>(ultima) + 1, Cella{});
  return s;
}

TEST(MemoMontagna, GalleriaERiempitiviOgniQuattroCelle) {
  Scenario s = percorso_libero();
  int32_t tipo = 11;  // flagged, kind 1
  Provenienze provenienze;
  const Luogo montagna{"Prova_linea.txt", 6, 1};
  Registrazione r{provenienze, montagna};
  registra_montagna(s, r, {1000, 1400}, tipo);  // cells 20 to 27: eight cells
  EXPECT_EQ(tipo, 1);
  EXPECT_EQ(provenienze.di(23), montagna);
  EXPECT_EQ(provenienze.di(22), std::nullopt);
  for (int i = 20; i <= 27; ++i) {
    EXPECT_EQ(s.percorso[i].galleria, 1) << i;
    EXPECT_EQ(s.percorso[i].genere, (i == 23 || i == 27) ? kRiempitivoGalleria : kNessuno) << i;
  }
  EXPECT_EQ(s.percorso[19].galleria, 0);
  EXPECT_EQ(s.percorso[28].galleria, 0);

  tipo = 12;
  registra_montagna(s, riga, {5000, 5150}, tipo);  // three cells: no filler
  for (int i = 100; i <= 102; ++i) {
    EXPECT_EQ(s.percorso[i].galleria, 2);
    EXPECT_EQ(s.percorso[i].genere, kNessuno);
  }
  EXPECT_EQ(s.conta_montagne, 2);
  EXPECT_EQ(s.montagne_inizio[2], 5000);
  EXPECT_EQ(s.montagne_fine[2], 5150);
}

TEST(MemoMontagna, IlRiempitivoNonCopreUnaCellaConUnElemento) {
  Scenario s = percorso_libero();
  s.percorso[23].genere = kCartello;
  int32_t tipo = 11;
  registra_montagna(s, riga, {1000, 1400}, tipo);
  EXPECT_EQ(s.percorso[23].genere, kCartello);
  EXPECT_EQ(s.percorso[23].galleria, 1);
}

TEST(MemoMontagna, EntroCentocinquantaMetriDiventaTipoTre) {
  const struct {
    int32_t distacco;
    int32_t tipo_atteso;
  } casi[] = {{150, 3}, {100, 3}, {200, 2}};
  for (const auto& c : casi) {
    Scenario s = percorso_libero();
    int32_t primo = 2;
    registra_montagna(s, riga, {1000, 2000}, primo);
    int32_t secondo = 12;
    registra_montagna(s, riga, {2000 + c.distacco, 3000}, secondo);
    EXPECT_EQ(secondo, c.tipo_atteso) << c.distacco;
    EXPECT_EQ(s.percorso[(2000 + c.distacco) / 50].galleria, c.tipo_atteso);
  }
}

TEST(MemoMontagna, FuoriDalleTabelleODalPercorsoEUnErroreDiEsecuzione) {
  Scenario s = percorso_libero(100);
  int32_t tipo = 2;
  EXPECT_THROW(registra_montagna(s, riga, {4900, 5200}, tipo),
               ErroreEsecuzione);  // ends beyond cell 100
  EXPECT_EQ(s.percorso[98].galleria, 2) << "the cells before the failure keep their kind";

  Scenario pieno = percorso_libero();
  for (int i = 1; i <= 80; ++i) {
    tipo = 2;
    registra_montagna(pieno, riga, {i * 1000, i * 1000 + 50}, tipo);
  }
  tipo = 2;
  EXPECT_THROW(registra_montagna(pieno, riga, {90000, 90050}, tipo), ErroreEsecuzione);
}

TEST(MemoIndicatoriVMax, ImpaccaLeVelocita) {
  Scenario s = percorso_libero();
  memo_indicatori_v_max(s, riga, RigaIndicatori{800, 85, 90, 90, 0, 0, 0, 0, 0});
  const Cella& c = s.percorso[17];
  EXPECT_EQ(c.genere, kIndicatoreVelocita);
  EXPECT_EQ(c.valore_1, 1700);
  EXPECT_EQ(c.valore_2, 1800);
  EXPECT_EQ(c.valore_3, 1800);
  EXPECT_EQ(c.valore_4, 0);

  memo_indicatori_v_max(s, riga, RigaIndicatori{2000, 30, 80, 80, 2, 65, 12, 13, 1});
  const Cella& d = s.percorso[41];
  EXPECT_EQ(d.valore_1, 613);   // 65 / 5 + 600
  EXPECT_EQ(d.valore_2, 1602);  // 12 / 5 = 2.4 -> 2
  EXPECT_EQ(d.valore_3, 1603);  // 13 / 5 = 2.6 -> 3
  EXPECT_EQ(d.valore_4, 21);
  EXPECT_EQ(s.codice_errore, 0);
}

TEST(MemoIndicatoriVMax, CellaOccupataOValoreTroppoGrande) {
  Scenario s = percorso_libero();
  s.percorso[17].genere = kCartello;
  memo_indicatori_v_max(s, riga, RigaIndicatori{800, 85, 90, 90, 0, 0, 0, 0, 0});
  EXPECT_EQ(s.codice_errore, 21);
  EXPECT_EQ(s.percorso[17].genere, kCartello);

  Scenario t = percorso_libero();
  t.percorso[17].genere = kRiempitivoGalleria;
  memo_indicatori_v_max(t, riga, RigaIndicatori{800, 85, 90, 90, 0, 0, 0, 0, 0});
  EXPECT_EQ(t.codice_errore, 0);
  EXPECT_EQ(t.percorso[17].genere, kIndicatoreVelocita);
  EXPECT_THROW(memo_indicatori_v_max(t, riga, RigaIndicatori{900, 1700, 0, 0, 0, 0, 0, 0, 0}),
               ErroreEsecuzione);
}

TEST(MemoSegnale, CellaValoriEMarcheDiAvvicinamento) {
  Scenario s = percorso_libero();
  int32_t tempo = 0;
  registra_segnale(s, riga, {98650, 2, 3, 1, 0, 0, 2, 2, 1, 0}, tempo);
  const Cella& c = s.percorso[1974];
  EXPECT_EQ(c.genere, kSegnale);
  EXPECT_EQ(c.valore_1, 32);
  EXPECT_EQ(c.valore_2, 11);
  EXPECT_EQ(c.valore_3, 0);
  EXPECT_EQ(c.valore_4, 8);  // rapp 0, 3 x sx + dx = 8
  for (int b = 1; b <= 4; ++b) {
    EXPECT_EQ(s.percorso[1974 - 2 * b].avvicinamento, 80 + b) << b;
  }
  EXPECT_EQ(s.percorso[1973].avvicinamento, 0);
}

TEST(MemoSegnale, TempoDelSegnale) {
  const struct {
    int32_t sx, tempo, tempo_dopo;
    uint8_t tempo_segnale;
  } casi[] = {{2, 50, 101, 101}, {2, 1, 101, 101},   {2, 100, 101, 101},
              {2, 0, 0, 0},      {2, 220, 220, 220}, {2, -5, -5, 251},
              {2, 300, 300, 44}, {1, 220, 220, 0},   {1, 50, 101, 0}};
  for (const auto& c : casi) {
    Scenario s = percorso_libero();
    int32_t tempo = c.tempo;
    registra_segnale(s, riga, {4500, c.sx, 4, 0, 0, 0, 0, 0, 0, 0}, tempo);
    EXPECT_EQ(tempo, c.tempo_dopo) << c.tempo;
    EXPECT_EQ(s.percorso[91].tempo_segnale, c.tempo_segnale) << c.sx << " " << c.tempo;
  }
}

TEST(MemoSegnale, CellaOccupataLiberaOFuoriDalPercorso) {
  Scenario s = percorso_libero();
  int32_t tempo = 0;
  s.percorso[91].genere = kIndicatoreVelocita;
  Provenienze provenienze;
  const Luogo indicatore{"Prova_linea.txt", 5, 1};
  provenienze.segna(91, indicatore);
  Registrazione r{provenienze, {"Prova_1-.txt", 9, 1}};
  registra_segnale(s, r, {4500, 1, 4, 0, 0, 0, 0, 0, 0, 0}, tempo);
  EXPECT_EQ(s.codice_errore, 16);
  EXPECT_EQ(s.percorso[89].avvicinamento, 0);
  EXPECT_EQ(r.nota(), indicatore);

  Scenario t = percorso_libero();
  t.percorso[91].genere = kRiempitivoGalleria;
  registra_segnale(t, riga, {4500, 1, 4, 0, 0, 0, 0, 0, 0, 0}, tempo);
  EXPECT_EQ(t.percorso[91].genere, kSegnale);

  // Closer than 350 m to the start: the cell and the first approach mark are written, then the
  // second mark falls before cell 0.
  Scenario u = percorso_libero();
  EXPECT_THROW(registra_segnale(u, riga, {100, 1, 4, 0, 0, 0, 0, 0, 0, 0}, tempo),
               ErroreEsecuzione);
  EXPECT_EQ(u.percorso[3].genere, kSegnale);
  EXPECT_EQ(u.percorso[1].avvicinamento, 31);
}

TEST(MemoRallentamento, AvvisoInizioFineEQuattroCellePrima) {
  Scenario s = percorso_libero();
  Provenienze provenienze;
  const Luogo rallentamento{"Prova_1-.txt", 3, 1};
  Registrazione r{provenienze, rallentamento};
  memo_rallentamento(s, r, RigaRallentamento{9200, 70, 300, 0, 1, 0});
  EXPECT_EQ(s.codice_errore, 0);
  EXPECT_EQ(r.cella_occupata, std::nullopt);
  // Every cell given an item is marked as coming from the row, and no other.
  for (int i = 0; i <= 2160; ++i) {
    const bool con_elemento = i == 161 || i == 185 || i == 191 || (i >= 157 && i <= 160);
    EXPECT_EQ(provenienze.di(i), con_elemento ? std::optional(rallentamento) : std::nullopt) << i;
  }
  EXPECT_EQ(s.percorso[161].genere, kAvvisoRallentamento);
  EXPECT_EQ(s.percorso[161].valore_1, 70);
  EXPECT_EQ(s.percorso[185].genere, kInizioRallentamento);
  EXPECT_EQ(s.percorso[191].genere, kFineRallentamento);
  for (const int i : {185, 191}) {
    EXPECT_EQ(s.percorso[i].valore_1, 70);
    EXPECT_EQ(s.percorso[i].valore_2, 0);
  }
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s.percorso[160 - i].genere, kPrimaDellAvviso);
    EXPECT_EQ(s.percorso[160 - i].valore_1, i + 1);
    EXPECT_EQ(s.percorso[160 - i].valore_2, 0);
  }
}

TEST(MemoRallentamento, ConDvEFtt) {
  Scenario s = percorso_libero();
  memo_rallentamento(s, riga, RigaRallentamento{9200, 70, 300, 4, 1, 9});
  for (const int i : {161, 185, 191}) {
    EXPECT_EQ(s.percorso[i].valore_2, 9) << i;
  }
  EXPECT_EQ(s.percorso[185].valore_3, 4);
  EXPECT_EQ(s.percorso[191].valore_3, 4);
  EXPECT_EQ(s.percorso[161].valore_3, 0);
  EXPECT_EQ(s.percorso[158].valore_2, 3);
}

TEST(MemoRallentamento, AvvisoSoloOltre1500Metri) {
  Scenario s = percorso_libero();
  memo_rallentamento(s, riga, RigaRallentamento{1500, 60, 200, 0, 1, 0});
  for (const Cella& c : s.percorso) {
    EXPECT_NE(c.genere, kAvvisoRallentamento);
    EXPECT_NE(c.genere, kPrimaDellAvviso);
  }
  Scenario t = percorso_libero();
  memo_rallentamento(t, riga, RigaRallentamento{1550, 60, 200, 0, 1, 0});
  EXPECT_EQ(t.percorso[8].genere, kAvvisoRallentamento);
  EXPECT_EQ(t.percorso[7].genere, kPrimaDellAvviso);
  EXPECT_EQ(t.percorso[4].genere, kPrimaDellAvviso);
}

TEST(MemoRallentamento, CodiciDiCellaOccupata) {
  const struct {
    int cella_occupata;
    int32_t codice;
    bool segni_lasciati;
  } casi[] = {{161, 17, false}, {185, 18, false}, {191, 19, false}, {157, 20, true}};
  for (const auto& c : casi) {
    Scenario s = percorso_libero();
    s.percorso[c.cella_occupata].genere = kCartello;
    Provenienze provenienze;
    const Luogo cartello{"Prova_linea.txt", 4, 1};
    provenienze.segna(c.cella_occupata, cartello);
    Registrazione r{provenienze, {"Prova_1-.txt", 9, 1}};
    memo_rallentamento(s, r, RigaRallentamento{9200, 70, 300, 0, 1, 0});
    EXPECT_EQ(s.codice_errore, c.codice);
    EXPECT_EQ(r.cella_occupata, c.cella_occupata) << c.codice;
    EXPECT_EQ(r.nota(), cartello) << c.codice;
    EXPECT_EQ(s.percorso[185].genere == kInizioRallentamento, c.segni_lasciati) << c.codice;
    EXPECT_EQ(s.percorso[160].genere, kNessuno) << c.codice;
  }
}

}  // namespace
