#include "compiler/registratori.h"

#include "compiler/celle.h"
#include "compiler/errore_esecuzione.h"
#include "model/formato_percorso.h"

namespace {

int16_t coppia_di_velocita(int64_t v_sinistra, int64_t v_destra) {
  return in_16(dividi_arrotonda(numeratore_coppia(v_sinistra, v_destra), kPassoVelocita));
}

}  // namespace

void memo_montagna(Scenario& s, Registrazione& r, RigaMontagna& riga) {
  const int32_t inizio = riga.inizio;
  const int32_t fine = riga.fine;
  int32_t& tipo = riga.tipo;
  const bool segnata = tipo > 10;
  if (segnata) {
    tipo -= 10;
  }
  s.conta_montagne += 1;
  if (s.conta_montagne >= kNumeroMontagne) {
    throw ErroreEsecuzione(kMotivoTroppeGallerie);
  }
  const auto n = static_cast<size_t>(s.conta_montagne);
  s.montagne_inizio[n] = inizio;
  s.montagne_fine[n] = fine;
  if (n > 1 && int64_t{inizio} - s.montagne_fine[n - 1] <= kDistanzaGallerieVicine) {
    tipo = kTipoGallerieVicine;
  }
  const int64_t ultima = cella_di(int64_t{fine} - 50);
  int64_t contate = 0;
  for (int64_t i = cella_di(inizio); i <= ultima; ++i) {
    Cella& c = cella(s, i);
    ++contate;
    c.galleria = basso_8(tipo);
    if (segnata && contate % 4 == 0 && c.genere == kNessuno) {
      c.genere = kRiempitivoGalleria;
      r.posa(i);
    }
  }
}

void memo_indicatori_v_max(Scenario& s, Registrazione& r, const RigaIndicatori& riga) {
  const int64_t k = cella_dopo(riga.posizione);
  Cella& c = cella(s, k);
  if (occupata(c)) {
    s.codice_errore = kIndicatoreSuCellaOccupata;
    r.trova_occupata(k);
    return;
  }
  c.genere = kIndicatoreVelocita;
  r.posa(k);
  c.valore_1 = coppia_di_velocita(riga.vas, riga.vad);
  c.valore_2 = coppia_di_velocita(riga.vbs, riga.vbd);
  c.valore_3 = coppia_di_velocita(riga.vcs, riga.vcd);
  c.valore_4 = basso_16(int64_t{riga.strisces} * kPesoCoppia + riga.strisced);
}

void memo_segnale(Scenario& s, Registrazione& r, RigaSegnale& riga) {
  const auto& [posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, _] = riga;
  int32_t& tempo = riga.tempo;
  const int64_t k = cella_dopo(posizione);
  Cella& c = cella(s, k);
  if (occupata(c)) {
    s.codice_errore = kSegnaleSuCellaOccupata;
    r.trova_occupata(k);
    return;
  }
  c.genere = kSegnale;
  r.posa(k);
  c.valore_4 = basso_16(int64_t{rapp} * kPesoCoppia + int64_t{sx} * kPesoLatoSinistro + dx);
  c.valore_1 = basso_16(int64_t{s1} * kPesoCoppia + d1);
  c.valore_2 = basso_16(int64_t{s2} * kPesoCoppia + d2);
  c.valore_3 = basso_16(int64_t{s3} * kPesoCoppia + d3);
  if (tempo >= 1 && tempo <= kTempoSegnaleMinimo) {
    tempo = kTempoSegnaleMinimo + 1;
  }
  c.tempo_segnale = sx == 2 ? basso_8(tempo) : 0;
  const int64_t classe = int64_t{sx} * kPesoLatoSinistro + dx;
  for (int64_t b = 1; b <= 4; ++b) {
    cella(s, k - 2 * b).avvicinamento = basso_8(classe * kPesoCoppia + b);
  }
}

void memo_rallentamento(Scenario& s, Registrazione& r, const RigaRallentamento& riga) {
  const auto& [x, v, l, f_tt, f_ta_riga, d_v] = riga;
  int32_t f_ta = f_ta_riga;
  const bool con_avviso = x > kUltimoInizioSenzaAvviso;
  const int64_t a = cella_dopo(int64_t{x} - kDistanzaAvviso);
  const int64_t inizio = cella_dopo(x);
  const int64_t fine = cella_dopo(int64_t{x} + l);
  const int64_t w = cella_di(int64_t{x} - kDistanzaAvviso);
  if (con_avviso) {
    if (occupata(cella(s, a))) {
      s.codice_errore = kAvvisoSuCellaOccupata;
      r.trova_occupata(a);
      return;
    }
  } else {
    f_ta = 0;
  }
  if (occupata(cella(s, inizio))) {
    s.codice_errore = kInizioSuCellaOccupata;
    r.trova_occupata(inizio);
    return;
  }
  if (occupata(cella(s, fine))) {
    s.codice_errore = kFineSuCellaOccupata;
    r.trova_occupata(fine);
    return;
  }
  const int16_t v16 = basso_16(v);
  const int16_t d_v16 = basso_16(d_v);
  Cella& e = cella(s, fine);
  e.genere = kFineRallentamento;
  r.posa(fine);
  if (d_v != 0) {
    e.valore_2 = d_v16;
  }
  Cella& st = cella(s, inizio);
  st.genere = kInizioRallentamento;
  r.posa(inizio);
  if (d_v != 0) {
    st.valore_2 = d_v16;
  }
  if (con_avviso) {
    Cella& av = cella(s, a);
    av.genere = kAvvisoRallentamento;
    r.posa(a);
    if (d_v != 0) {
      av.valore_2 = d_v16;
    }
    av.valore_1 = v16;
  }
  st.valore_1 = v16;
  st.valore_3 = basso_16(f_tt);
  e.valore_1 = v16;
  e.valore_3 = basso_16(f_tt);
  if (f_ta == 0) {
    return;
  }
  for (int64_t i = 0; i < 4; ++i) {
    if (occupata(cella(s, w - i))) {
      s.codice_errore = kPrimaDellAvvisoOccupata;
      r.trova_occupata(w - i);
      return;
    }
  }
  for (int64_t i = 0; i < 4; ++i) {
    Cella& c = cella(s, w - i);
    c.genere = kPrimaDellAvviso;
    r.posa(w - i);
    c.valore_1 = static_cast<int16_t>(i + 1);
    if (d_v != 0) {
      c.valore_2 = static_cast<int16_t>(i + 1);
    }
  }
}
