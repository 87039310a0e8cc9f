#include "compiler/stato_lettura.h"

#include "compiler/celle.h"

Luogo StatoLettura::luogo_campo() const {
  return {nome_sorgente, sorgente->riga(), sorgente->colonna()};
}

void StatoLettura::apri(Sorgente q, const std::string& nome) {
  quale = q;
  nome_sorgente = nome;
  riga_corrente = {nome, 0, 0};
  sorgente.emplace(sorgenti.leggi(q));
}

void StatoLettura::chiudi_ed_elimina() {
  sorgente.reset();
  sorgenti.elimina(quale);
}

namespace {

// Reads the next keyword field, skipping up to two comment fields; false when the source has
// ended and the field read carries no data.
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
  l.riga_corrente = l.luogo_campo();
  return true;
}

}  // namespace

bool StatoLettura::leggi_righe(Esito (*riga)(StatoLettura&)) {
  while (leggi_parola_chiave(*this)) {
    riga_riconosciuta = false;
    const Esito e = riga(*this);
    if (e == Esito::prosegui) {
      avvisi.riga_letta(parola_chiave, riga_corrente, riga_riconosciuta, s.con_tracciato != 0,
                        false, in());
    }
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

Campo StatoLettura::leggi_campo() {
  const int32_t valore = in().leggi_intero();
  return {valore, luogo_campo()};
}

Esito StatoLettura::riga_di_riempimento(Riempimento& r, RigheOrdinate tipo) {
  const Campo posizione = leggi_campo();
  const int32_t valore = in().leggi_intero();
  if (!controlla_posizione(posizione)) {
    return Esito::fine_sorgente;
  }
  avvisi.in_ordine(tipo, posizione.valore, posizione.valore, posizione.luogo);
  riempi_celle(s, r, posizione.valore, valore);
  return Esito::prosegui;
}

Esito StatoLettura::dopo_registratore(const Campo& posizione, const Registrazione& r) {
  if (s.codice_errore <= 0) {
    return Esito::prosegui;
  }
  // A code the recorder did not set was left by an earlier row (one beyond the track ends
  // the line source, not the train source): the parse stops at this row, and the note names
  // the row that left the code.
  std::optional<Luogo> nota = r.nota();
  if (!r.cella_occupata && !problemi.empty()) {
    nota = problemi.back().luogo;
  }
  return arresta(s.codice_errore, posizione, std::move(nota));
}

bool StatoLettura::controlla_posizione(const Campo& posizione, int64_t margine) {
  if (nel_percorso(s, posizione.valore, margine)) {
    return true;
  }
  s.posizione_errore = posizione.valore;
  registra(kOltreIlPercorso, posizione.luogo);
  return false;
}

void StatoLettura::registra(int32_t codice, const Luogo& dove, std::optional<Luogo> nota,
                            std::string motivo) {
  s.codice_errore = codice;
  problemi.push_back(Problema{codice, dove, std::move(motivo), std::move(nota)});
}

Esito StatoLettura::arresta(int32_t codice, const Luogo& dove) {
  registra(codice, dove);
  return Esito::arresto;
}

Esito StatoLettura::arresta(int32_t codice, const Campo& posizione, std::optional<Luogo> nota) {
  s.posizione_errore = posizione.valore;
  registra(codice, posizione.luogo, std::move(nota));
  return Esito::arresto;
}
