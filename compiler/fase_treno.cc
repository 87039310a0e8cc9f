#include "compiler/fase_treno.h"

#include <array>

#include "compiler/celle.h"
#include "compiler/parole_chiave.h"
#include "compiler/registratori.h"
#include "model/nomi_file.h"

namespace {

Esito velocita(StatoLettura& l) {
  return l.riga_di_riempimento(l.velocita, RigheOrdinate::velocita);
}
Esito aderenza(StatoLettura& l) {
  return l.riga_di_riempimento(l.aderenze, RigheOrdinate::aderenze);
}

Esito massa_frenata(StatoLettura& l) {
  l.s.voci[kVoceTreno].inizio_area = l.in().leggi_intero();
  return Esito::prosegui;
}

Esito vetture(StatoLettura& l) {
  l.s.voci[kVoceTreno].progressiva_voce = l.in().leggi_intero();
  return Esito::prosegui;
}

Esito orologio(StatoLettura& l) {
  Voce& v = l.s.voci[kVoceRipetizione];
  v.dato_3 = l.in().leggi_intero_16();
  v.dato_4 = l.in().leggi_intero_16();
  v.dato_5 = l.in().leggi_intero_16();
  return Esito::prosegui;
}

Esito sabbia(StatoLettura& l) {
  l.s.voci[kVoceRipetizione].dato_1 = l.in().leggi_intero_16();
  return Esito::prosegui;
}

Esito segnale(StatoLettura& l) {
  const Campo posizione = l.leggi_campo();
  RigaSegnale riga{posizione.valore};
  for (int32_t* campo : {&riga.sx, &riga.s1, &riga.s2, &riga.s3, &riga.rapp, &riga.dx, &riga.d1,
                         &riga.d2, &riga.d3, &riga.tempo}) {
    *campo = l.in().leggi_intero();
  }
  if (!l.controlla_posizione(posizione)) {
    return Esito::fine_sorgente;
  }
  Registrazione r = l.registrazione();
  memo_segnale(l.s, r, riga);
  return l.dopo_registratore(posizione, r);
}

Esito rallentamento(StatoLettura& l) {
  const Campo x = l.leggi_campo();
  RigaRallentamento riga{x.valore};
  for (int32_t* campo : {&riga.v, &riga.l, &riga.f_tt, &riga.f_ta, &riga.d_v}) {
    *campo = l.in().leggi_intero();
  }
  if (!l.controlla_posizione(x)) {
    return Esito::fine_sorgente;
  }
  Registrazione r = l.registrazione();
  memo_rallentamento(l.s, r, riga);
  return l.dopo_registratore(x, r);
}

Esito abbattimento(StatoLettura& l) {
  const Campo posizione = l.leggi_campo();
  const int32_t valore = l.in().leggi_intero();
  if (!l.controlla_posizione(posizione)) {
    return Esito::fine_sorgente;
  }
  const int64_t k = cella_di(posizione.valore);
  Cella& c = cella(l.s, k);
  if (occupata(c)) {
    return l.arresta(kAbbattimentoSuCellaOccupata, posizione, l.provenienze.di(k));
  }
  if (valore < 1) {
    c.genere = kAbbattimentoSenzaVelocita;
  } else {
    c.genere = kAbbattimentoConVelocita;
    c.valore_1 = in_16(valore);
  }
  l.provenienze.segna(k, l.riga_corrente);
  return Esito::prosegui;
}

// The area of the station, from its position, category and length.
void area_stazione(Voce& v, int64_t p, int64_t lunghezza) {
  int64_t inizio = p - lunghezza;
  int64_t fine = 0;
  if (v.categoria == 5 || v.categoria == 6) {
    fine = p + 150;
    v.marca_4 = 0;
  } else if (v.categoria == 7 || v.categoria == 8) {
    fine = p + lunghezza;
    v.marca_4 = 0;
  } else {
    inizio = p - lunghezza / 2;
    fine = p + lunghezza / 2 + (v.marca_4 != 0 ? 50 : 0);
  }
  v.inizio_area = in_32(inizio);
  v.fine_area = in_32(fine);
}

Esito stazione(StatoLettura& l) {
  Scenario& s = l.s;
  LettoreCampi& in = l.in();
  const int32_t i = l.indice_stazione;
  Voce& v = voce(s, i);
  const Campo p = l.leggi_campo();
  v.progressiva_voce = p.valore;
  if (!l.controlla_posizione(p, 800)) {
    return Esito::fine_sorgente;
  }
  if (p.valore % 50 != 0) {
    return l.arresta(kStazioneNonMultipla, p);
  }
  v.categoria = in.leggi_intero_8();
  const Campo lunghezza = l.leggi_campo();
  if (lunghezza.valore % 100 != 0) {
    s.posizione_errore = p.valore;
    return l.arresta(kLunghezzaStazioneNonMultipla, lunghezza.luogo);
  }
  v.marca_1 = in.leggi_intero_8();
  v.marca_5 = in.leggi_intero_8();
  v.marca_4 = in.leggi_intero_8();
  v.dato_1 = in.leggi_intero_16();
  v.dato_2 = in.leggi_intero_16();
  v.marca_2 = in.leggi_intero_8();
  v.dato_3 = in.leggi_intero_16();
  v.dato_4 = in.leggi_intero_16();
  v.dato_5 = in.leggi_intero_16();
  v.marca_3 = in.leggi_intero_8();
  const int64_t ore = in.leggi_intero();
  const int64_t minuti = in.leggi_intero();
  const int64_t secondi = in.leggi_intero();
  // Every value of the row, the name too, is in the entry before the time is computed: a
  // time that does not fit stops the parse with the whole row stored.
  v.testo = in.leggi_testo();
  l.campi_testo[static_cast<size_t>(i)] = l.luogo_campo();
  l.avvisi.testo_letto(l.luogo_campo(), in);
  v.orario = in_32(ore * 3600 + minuti * 60 + secondi);

  area_stazione(v, p.valore, lunghezza.valore);
  if (lunghezza.valore < 600) {
    v.marca_5 = 0;
  }
  if (i == 1) {
    v.marca_4 = 0;
    v.marca_5 = 0;
  }
  // Categories 5 and 6 get a stop marker only.
  const int64_t fine = v.fine_area;
  if (v.categoria < kCategoriaSenzaFermata && v.categoria != 5 && v.categoria != 6) {
    for (int64_t k = 1; k <= 4; ++k) {
      if (fine > 50 * (k + 2)) {
        cella(s, cella_di(fine - 50 * (k + 1))).avvicinamento = basso_8(kMarcaStazione + k);
      }
    }
  }
  if (v.categoria < kCategoriaSenzaFermata) {
    if (fine <= 100) {
      return l.arresta(kFermataAllInizio, p.luogo);
    }
    const int64_t k = cella_di(fine - 50);
    Cella& fermata = cella(s, k);
    fermata.genere = kFermata;
    fermata.valore_1 = basso_16(i);
    l.provenienze.segna(k, l.riga_corrente);
  }
  if (i > 1 && int64_t{v.inizio_area} - 350 < s.voci[static_cast<size_t>(i) - 1].fine_area) {
    return l.arresta(kStazioneTroppoVicina, p, l.stazione_precedente);
  }
  l.indice_stazione = i + 1;
  l.stazione_precedente = l.riga_corrente;
  if (l.indice_stazione >= l.voce_cartello) {
    return l.arresta(kStazioniSuiCartelli, l.riga_corrente);
  }
  return Esito::prosegui;
}

using C = CodiceForma;
constexpr GestoreForma kTreno[] = {
    {C::massa_frenata, massa_frenata},
    {C::vetture, vetture},
    {C::velocita, velocita},
    {C::aderenza, aderenza},
    {C::orologio, orologio},
    {C::sabbia, sabbia},
    {C::segnale, segnale},
    {C::rallentamento, rallentamento},
    {C::abbattimento, abbattimento},
    {C::stazione, stazione},
};

Esito riga_treno(StatoLettura& l) { return gestisci_riga(l, Sezione::treno, kTreno); }

// The route position and the kilometric value of each reference must be multiples of 50;
// a problem names the field of the line source the value was read from.
void controlla_progressive(StatoLettura& l) {
  for (size_t slot = 0; slot < l.progressive.size(); ++slot) {
    const Voce& v = l.s.voci[kVoceProgressivaTre + slot];
    const CampiProgressiva& campi = l.progressive[slot];
    if (v.inizio_area % 50 != 0) {
      l.registra(kProgressivaNonMultipla, campi.posizione);
    } else if (v.fine_area % 50 != 0) {
      l.registra(kProgressivaNonMultipla, campi.valore);
    }
  }
}

}  // namespace

void fase_treno(StatoLettura& l) {
  Scenario& s = l.s;
  l.apri(Sorgente::treno, nome_sorgente_treno(s));
  while (true) {
    l.parola_chiave = l.in().leggi_testo();
    if (apre_generale(l.parola_chiave)) {
      l.avvisi.generale_trovata(l.parola_chiave, l.luogo_campo());
      break;
    }
    if (l.in().alla_fine()) {
      l.avvisi.generale_mancante(l.nome_sorgente);
      break;
    }
    l.avvisi.prima_di_generale(l.parola_chiave, l.luogo_campo());
  }
  l.velocita = riempimento_velocita();
  l.aderenze = riempimento_aderenze();
  l.indice_stazione = 1;

  if (!l.leggi_righe(riga_treno)) {
    return;
  }
  l.chiudi_ed_elimina();
  riempi_coda(s, l.velocita);
  riempi_coda(s, l.aderenze);
  controlla_progressive(l);
}
