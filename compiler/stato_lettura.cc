#include "compiler/stato_lettura.h"

#include "compiler/celle.h"
#include "platform/file_system.h"

void StatoLettura::apri(const std::string& nome) {
  percorso_sorgente = piattaforma::percorso_in(cartella, nome);
  sorgente.emplace(piattaforma::leggi_file(percorso_sorgente));
}

void StatoLettura::chiudi_ed_elimina() {
  sorgente.reset();
  piattaforma::elimina_file(percorso_sorgente);
}

bool StatoLettura::leggi_parola_chiave() {
  if (in().alla_fine()) {
    return false;
  }
  s.riga = in().leggi_testo();
  if (in().alla_fine()) {
    return false;
  }
  for (int commenti = 0; commenti < 2 && s.riga.find('-') != std::string::npos; ++commenti) {
    s.riga = in().leggi_testo();
    if (in().alla_fine()) {
      return false;
    }
  }
  return true;
}

bool StatoLettura::controlla_posizione(int32_t posizione, int64_t margine) {
  if (nel_percorso(s, posizione, margine)) {
    return true;
  }
  s.codice_errore = 15;
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
