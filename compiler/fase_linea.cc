#include "compiler/fase_linea.h"

#include <array>

#include "compiler/celle.h"
#include "compiler/errore_esecuzione.h"
#include "compiler/parole_chiave.h"
#include "compiler/progressive_ordina.h"
#include "compiler/registratori.h"
#include "compiler/tracciato_linea.h"
#include "model/nomi_file.h"

namespace {

constexpr int kCommentiGenerali = 10;

Esito lunghezza_percorso(StatoLettura& l) {
  Scenario& s = l.s;
  const Campo lunghezza = l.leggi_campo();
  s.voci[kVoceTreno].fine_area = lunghezza.valore;
  if (lunghezza.valore > kLunghezzaMassima) {
    return l.arresta(kLineaTroppoLunga, lunghezza.luogo);
  }
  const int64_t estesa = int64_t{lunghezza.valore} + kEstensione;
  if (estesa < 0) {
    throw ErroreEsecuzione(kMotivoFuoriIntervallo);
  }
  s.lunghezza_estesa = static_cast<int32_t>(estesa);
  s.ultima_cella = static_cast<int32_t>(cella_di(estesa));
  l.riga_lunghezza = l.riga_corrente;
  s.percorso.assign(static_cast<size_t>(s.ultima_cella) + 1, Cella{});
  if (s.con_tracciato != 0) {
    s.tracciato.crea(s.lunghezza_estesa);
  }
  return Esito::prosegui;
}

// A kilometre reference into entry `voce` (81 to 83); the places of its first two values are
// kept for the check after the train source.
void progressiva(StatoLettura& l, int voce) {
  Voce& v = l.s.voci[static_cast<size_t>(voce)];
  CampiProgressiva& campi = l.progressive[static_cast<size_t>(voce - kVoceProgressivaTre)];
  const Campo posizione = l.leggi_campo();
  v.inizio_area = posizione.valore;
  campi.posizione = posizione.luogo;
  const Campo valore = l.leggi_campo();
  v.fine_area = valore.valore;
  campi.valore = valore.luogo;
  v.progressiva_voce = l.in().leggi_intero();
}

Esito ripetizione_segnali(StatoLettura& l) {
  Voce& v = l.s.voci[kVoceRipetizione];
  const Campo primo = l.leggi_campo();
  v.inizio_area = primo.valore;
  const Campo secondo = l.leggi_campo();
  v.fine_area = secondo.valore;
  if (v.inizio_area % 50 != 0) {
    return l.arresta(kPrimaRipetizioneNonMultipla, primo.luogo);
  }
  if (v.fine_area % 50 != 0) {
    return l.arresta(kSecondaRipetizioneNonMultipla, secondo.luogo);
  }
  if (contiene(l.parola_chiave, "4")) {
    v.progressiva_voce = 4;
  } else if (contiene(l.parola_chiave, "9")) {
    v.progressiva_voce = 9;
  } else {
    return l.arresta(kRipetizioneSenzaCodici, l.riga_corrente);
  }
  if (v.fine_area == 0) {
    v.progressiva_voce = 0;
  }
  return Esito::prosegui;
}

Esito progressiva_tre(StatoLettura& l) {
  progressiva(l, kVoceProgressivaTre);
  return Esito::prosegui;
}
Esito progressiva_due(StatoLettura& l) {
  progressiva(l, kVoceProgressivaDue);
  return Esito::prosegui;
}
Esito progressiva_uno(StatoLettura& l) {
  progressiva(l, kVoceProgressivaUno);
  return Esito::prosegui;
}
Esito sfondo_uno(StatoLettura& l) {
  l.s.voci[kVoceScenario].inizio_area = l.in().leggi_intero();
  return Esito::prosegui;
}
Esito sfondo_due(StatoLettura& l) {
  l.s.voci[kVoceScenario].progressiva_voce = l.in().leggi_intero();
  return Esito::prosegui;
}
Esito sfondo_tre(StatoLettura& l) {
  l.s.voci[kVoceScenario].fine_area = l.in().leggi_intero();
  return Esito::prosegui;
}

using C = CodiceForma;
constexpr GestoreForma kGenerali[] = {
    {C::lunghezza_percorso, lunghezza_percorso},
    {C::progressiva_tre, progressiva_tre},
    {C::progressiva_due, progressiva_due},
    {C::progressiva_uno, progressiva_uno},
    {C::sfondo_uno, sfondo_uno},
    {C::sfondo_due, sfondo_due},
    {C::sfondo_tre, sfondo_tre},
    {C::ripetizione_segnali, ripetizione_segnali},
};

Esito riga_generale(StatoLettura& l) {
  return gestisci_riga(l, Sezione::linea_generale, kGenerali);
}

Esito sezione_generale(StatoLettura& l) {
  while (!l.in().alla_fine()) {
    l.parola_chiave = l.in().leggi_testo();
    if (l.in().alla_fine()) {
      break;
    }
    for (int k = 0; k < kCommentiGenerali && commento(l.parola_chiave); ++k) {
      l.parola_chiave = l.in().leggi_testo();
    }
    l.riga_corrente = l.luogo_campo();
    l.riga_riconosciuta = false;
    if (const Esito e = riga_generale(l); e != Esito::prosegui) {
      return e;
    }
    l.avvisi.riga_letta(l.parola_chiave, l.riga_corrente, l.riga_riconosciuta,
                        l.s.con_tracciato != 0, true, l.in());
    // The general section ends at the first header after it.
    if (intestazione_di_sezione(l.parola_chiave)) {
      break;
    }
  }
  return Esito::prosegui;
}

// After the ordering the entries hold other triples: their places follow them. A cleared
// triple has none.
void ordina_progressive(StatoLettura& l) {
  const std::array<int, 3> origini = progressive_ordina(l.s);
  const std::array<CampiProgressiva, 3> prima = l.progressive;
  for (size_t i = 0; i < origini.size(); ++i) {
    l.progressive[i] = origini[i] == 0
                           ? CampiProgressiva{}
                           : prima[static_cast<size_t>(origini[i] - kVoceProgressivaTre)];
  }
}

Esito pendenza(StatoLettura& l) {
  return l.riga_di_riempimento(l.pendenze, RigheOrdinate::pendenze);
}

// A curve to the left bends with a negative coefficient.
Esito curva(StatoLettura& l, bool sinistra) {
  const Campo inizio = l.leggi_campo();
  const Campo lunghezza = l.leggi_campo();
  if (!l.controlla_posizione(inizio)) {
    return Esito::fine_sorgente;
  }
  l.avvisi.in_ordine(RigheOrdinate::curve, inizio.valore, int64_t{inizio.valore} + lunghezza.valore,
                     inizio.luogo);
  const std::string& r = l.parola_chiave;
  size_t classe = 0;
  while (classe < kCoefficientiCurva.size() &&
         r.find(static_cast<char>('1' + classe)) == std::string::npos) {
    ++classe;
  }
  if (classe == kCoefficientiCurva.size()) {
    return l.arresta(kCurvaNonValida, l.riga_corrente);
  }
  const double coefficiente = sinistra ? -kCoefficientiCurva[classe] : kCoefficientiCurva[classe];
  if (!traccia_curva(l.s, l.metro_tracciato, inizio.valore, lunghezza.valore, coefficiente)) {
    // The straight run up to the curve, or the curve itself, went past the last point.
    const bool oltre_gia_all_inizio = inizio.valore >= kUltimoPuntoDelTracciato;
    return l.arresta(kCurvaNonValida, oltre_gia_all_inizio ? inizio.luogo : lunghezza.luogo);
  }
  return Esito::prosegui;
}

Esito montagna(StatoLettura& l) {
  const Campo inizio = l.leggi_campo();
  RigaMontagna riga{inizio.valore};
  riga.fine = l.in().leggi_intero();
  riga.tipo = l.in().leggi_intero();
  if (!l.controlla_posizione(inizio)) {
    return Esito::fine_sorgente;
  }
  l.avvisi.in_ordine(RigheOrdinate::montagne, inizio.valore, riga.fine, inizio.luogo);
  Registrazione r = l.registrazione();
  memo_montagna(l.s, r, riga);
  return l.dopo_registratore(inizio, r);
}

Esito indicatori_v_max(StatoLettura& l) {
  const Campo posizione = l.leggi_campo();
  RigaIndicatori riga{posizione.valore};
  for (int32_t* campo : {&riga.vas, &riga.vbs, &riga.vcs, &riga.strisces, &riga.vad, &riga.vbd,
                         &riga.vcd, &riga.strisced}) {
    *campo = l.in().leggi_intero();
  }
  if (!l.controlla_posizione(posizione)) {
    return Esito::fine_sorgente;
  }
  Registrazione r = l.registrazione();
  memo_indicatori_v_max(l.s, r, riga);
  return l.dopo_registratore(posizione, r);
}

Esito cartello(StatoLettura& l) {
  Scenario& s = l.s;
  const Campo posizione = l.leggi_campo();
  const std::string testo = l.in().leggi_testo();
  const Luogo campo_testo = l.luogo_campo();
  l.avvisi.testo_letto(campo_testo, l.in());
  if (!l.controlla_posizione(posizione)) {
    return Esito::fine_sorgente;
  }
  const int64_t k = cella_dopo(posizione.valore);
  Cella& c = cella(s, k);
  if (occupata(c)) {
    return l.arresta(kCartelloSuCellaOccupata, posizione, l.provenienze.di(k));
  }
  c.genere = kCartello;
  c.valore_1 = basso_16(l.voce_cartello);
  l.provenienze.segna(k, l.riga_corrente);
  voce(s, l.voce_cartello).testo = testo;
  l.campi_testo[static_cast<size_t>(l.voce_cartello)] = campo_testo;
  --l.voce_cartello;
  return Esito::prosegui;
}

Esito curva_sinistra(StatoLettura& l) { return curva(l, true); }
Esito curva_destra(StatoLettura& l) { return curva(l, false); }

constexpr GestoreForma kPrincipali[] = {
    {C::pendenza, pendenza},
    {C::curva_sinistra, curva_sinistra},
    {C::curva_destra, curva_destra},
    {C::montagna, montagna},
    {C::indicatori_v_max, indicatori_v_max},
    {C::cartello_indicatore, cartello},
};

Esito riga_principale(StatoLettura& l) {
  return gestisci_riga(l, Sezione::linea_principale, kPrincipali);
}

}  // namespace

bool fase_linea(StatoLettura& l) {
  Scenario& s = l.s;
  l.apri(Sorgente::linea, nome_sorgente_linea(s));
  while (true) {
    l.parola_chiave = l.in().leggi_testo();
    if (l.in().alla_fine()) {
      const Luogo fine = l.luogo_campo();
      l.chiudi_ed_elimina();
      l.registra(kSenzaGenerale, fine);
      return false;
    }
    if (apre_generale(l.parola_chiave)) {
      break;
    }
    l.avvisi.prima_di_generale(l.parola_chiave, l.luogo_campo());
  }
  l.avvisi.generale_trovata(l.parola_chiave, l.luogo_campo());

  if (sezione_generale(l) == Esito::arresto) {
    l.chiudi_ed_elimina();
    return false;
  }
  ordina_progressive(l);
  s.conta_montagne = 0;
  l.voce_cartello = kPrimaVoceCartello;
  l.pendenze = riempimento_pendenze();
  if (s.con_tracciato != 0) {
    inizia_tracciato(s, l.metro_tracciato);
  }

  if (!l.leggi_righe(riga_principale)) {
    return false;
  }
  l.chiudi_ed_elimina();
  riempi_coda(s, l.pendenze);
  if (s.con_tracciato != 0) {
    chiudi_tracciato(s, l.metro_tracciato);
  }
  return true;
}
