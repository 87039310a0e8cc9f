#include "compiler/fase_treno.h"

#include <array>

#include "compiler/celle.h"
#include "compiler/parole_chiave.h"
#include "compiler/registratori.h"
#include "model/nomi_file.h"

namespace {

Esito velocita(StatoLettura& l) {
  return l.riga_di_riempimento(l.velocita);
}
Esito aderenza(StatoLettura& l) {
  return l.riga_di_riempimento(l.aderenze);
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
  std::array<int32_t, 11> v{};
  for (int32_t& valore : v) {
    valore = l.in().leggi_intero();
  }
  if (!l.controlla_posizione(v[0])) {
    return Esito::fine_sorgente;
  }
  memo_segnale(l.s, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
  return l.dopo_registratore(v[0]);
}

Esito rallentamento(StatoLettura& l) {
  std::array<int32_t, 6> v{};
  for (int32_t& valore : v) {
    valore = l.in().leggi_intero();
  }
  if (!l.controlla_posizione(v[0])) {
    return Esito::fine_sorgente;
  }
  memo_rallentamento(l.s, v[0], v[1], v[2], v[3], v[4], v[5]);
  return l.dopo_registratore(v[0]);
}

Esito abbattimento(StatoLettura& l) {
  const int32_t posizione = l.in().leggi_intero();
  const int32_t valore = l.in().leggi_intero();
  if (!l.controlla_posizione(posizione)) {
    return Esito::fine_sorgente;
  }
  Cella& c = cella(l.s, cella_di(posizione));
  if (occupata(c)) {
    return l.arresta(kAbbattimentoSuCellaOccupata, posizione);
  }
  if (valore < 1) {
    c.genere = kAbbattimentoSenzaVelocita;
  } else {
    c.genere = kAbbattimentoConVelocita;
    c.valore_1 = in_16(valore);
  }
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
  const int32_t p = in.leggi_intero();
  v.progressiva_voce = p;
  if (!l.controlla_posizione(p, 800)) {
    return Esito::fine_sorgente;
  }
  if (p % 50 != 0) {
    return l.arresta(kStazioneNonMultipla, p);
  }
  v.categoria = in.leggi_intero_8();
  const int32_t lunghezza = in.leggi_intero();
  if (lunghezza % 100 != 0) {
    return l.arresta(kLunghezzaStazioneNonMultipla, p);
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
  v.orario = in_32(ore * 3600 + minuti * 60 + secondi);

  area_stazione(v, p, lunghezza);
  if (lunghezza < 600) {
    v.marca_5 = 0;
  }
  if (i == 1) {
    v.marca_4 = 0;
    v.marca_5 = 0;
  }
  // Stations of category 25 and above get neither approach marks nor a stop marker; 5 and 6
  // get a stop marker only.
  const int64_t fine = v.fine_area;
  if (v.categoria < 25 && v.categoria != 5 && v.categoria != 6) {
    for (int64_t k = 1; k <= 4; ++k) {
      if (fine > 50 * (k + 2)) {
        cella(s, cella_di(fine - 50 * (k + 1))).avvicinamento = basso_8(80 + k);
      }
    }
  }
  if (v.categoria < 25) {
    if (fine <= 100) {
      return l.arresta(kFermataAllInizio);
    }
    Cella& fermata = cella(s, cella_di(fine - 50));
    fermata.genere = kFermata;
    fermata.valore_1 = basso_16(i);
  }
  if (i > 1 && int64_t{v.inizio_area} - 350 < s.voci[static_cast<size_t>(i) - 1].fine_area) {
    return l.arresta(kStazioneTroppoVicina, p);
  }
  l.indice_stazione = i + 1;
  if (l.indice_stazione >= l.voce_cartello) {
    return l.arresta(kStazioniSuiCartelli);
  }
  return Esito::prosegui;
}

Esito riga_treno(StatoLettura& l) {
  struct Prova {
    bool (*vale)(const std::string&);
    Esito (*gestisci)(StatoLettura&);
  };
  static constexpr Prova kProve[] = {
      {[](const std::string& r) { return contiene(r, "frenata") && contiene(r, "massa"); },
       massa_frenata},
      {[](const std::string& r) { return contiene(r, "vetture"); }, vetture},
      {[](const std::string& r) { return contiene(r, "velocit"); }, velocita},
      {[](const std::string& r) { return contiene(r, "aderenza"); }, aderenza},
      {[](const std::string& r) { return contiene(r, "orologio"); }, orologio},
      {[](const std::string& r) { return contiene(r, "sabbia"); }, sabbia},
      {[](const std::string& r) { return contiene(r, "segnale"); }, segnale},
      {[](const std::string& r) { return contiene(r, "rallentamento"); }, rallentamento},
      {[](const std::string& r) { return contiene(r, "abbattimento"); }, abbattimento},
      {[](const std::string& r) { return contiene(r, "stazione"); }, stazione},
  };
  const std::string parola = l.parola_chiave;
  for (const Prova& prova : kProve) {
    if (prova.vale(parola)) {
      if (const Esito e = prova.gestisci(l); e != Esito::prosegui) {
        return e;
      }
    }
  }
  return Esito::prosegui;
}

// The route position and the kilometric value of each reference must be multiples of 50.
void controlla_progressive(Scenario& s) {
  for (const int i : {kVoceProgressivaTre, kVoceProgressivaDue, kVoceProgressivaUno}) {
    const Voce& v = s.voci[static_cast<size_t>(i)];
    if (v.inizio_area % 50 != 0 || v.fine_area % 50 != 0) {
      s.codice_errore = kProgressivaNonMultipla;
    }
  }
}

}  // namespace

void fase_treno(StatoLettura& l) {
  Scenario& s = l.s;
  l.apri(nome_sorgente_treno(s));
  do {
    l.parola_chiave = l.in().leggi_testo();
  } while (!l.in().alla_fine() && !contiene(l.parola_chiave, "[generale]"));
  l.velocita = riempimento_velocita();
  l.aderenze = riempimento_aderenze();
  l.indice_stazione = 1;

  if (!l.leggi_righe(riga_treno)) {
    return;
  }
  l.chiudi_ed_elimina();
  riempi_coda(s, l.velocita);
  riempi_coda(s, l.aderenze);
  controlla_progressive(s);
}
