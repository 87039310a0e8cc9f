#include "compiler/stato_lettura.h"

#include "compiler/celle.h"

void StatoLettura::apri(const std::string& nome) {
  percorso_sorgente = disco.percorso_in(cartella, nome);
  sorgente.emplace(disco.leggi(percorso_sorgente));
}

void StatoLettura::chiudi_ed_elimina() {
  sorgente.reset();
  disco.elimina(percorso_sorgente);
}

namespace {

// Reads the next keyword field, skipping up to two comment fields; false when the
// source has ended and the field read carries no data.
bool leggi_parola_chiave(StatoLettura& l) {
  LettoreCampi& in = l.in();
  if (in.alla_fine()) {
    return false;
  }
  l.parola_chiave = in.leggi_testo();
  if (in.alla_fine()) {
    return false;
  }
  for (int commenti = 0; commenti < 2 && l.parola_chiave.find('-') != std::string::npos;
       ++commenti) {
    l.parola_chiave = in.leggi_testo();
    if (in.alla_fine()) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool StatoLettura::leggi_righe(Esito (*riga)(StatoLettura&)) {
  while (leggi_parola_chiave(*this)) {
    const Esito e = riga(*this);
    if (e == Esito::fine_sorgente) {
      break;
    }
    if (e == Esito::arresto) {
      chiudi_ed_elimina();
      return false;
    }
  }
  return true;
}

Esito StatoLettura::riga_di_riempimento(Riempimento& r) {
  const int32_t posizione = in().leggi_intero();
  const int32_t valore = in().leggi_intero();
  if (!controlla_posizione(posizione)) {
    return Esito::fine_sorgente;
  }
  riempi_celle(s, r, posizione, valore);
  return Esito::prosegui;
}

Esito StatoLettura::dopo_registratore(int32_t posizione) {
  return s.codice_errore > 0 ? arresta(s.codice_errore, posizione) : Esito::prosegui;
}

bool StatoLettura::controlla_posizione(int32_t posizione, int64_t margine) {
  if (nel_percorso(s, posizione, margine)) {
    return true;
  }
  s.codice_errore = kOltreIlPercorso;
  s.posizione_errore = posizione;
  return false;
}

Esito StatoLettura::arresta(int32_t codice) {
  s.codice_errore = codice;
  return Esito::arresto;
}

Esito StatoLettura::arresta(int32_t codice, int32_t posizione) {
  s.posizione_errore = posizione;
  return arresta(codice);
}
