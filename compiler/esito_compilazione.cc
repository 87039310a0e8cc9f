#include "compiler/esito_compilazione.h"

#include <ostream>

#include "model/codici_errore.h"

std::string testo_del_luogo(const Luogo& l) {
  if (l.riga == 0) {
    return l.file;
  }
  return l.file + ":" + std::to_string(l.riga) + ":" + std::to_string(l.colonna);
}

std::ostream& operator<<(std::ostream& o, const Luogo& l) {
  return o << "\"" << testo_del_luogo(l) << "\"";
}

std::string descrizione_problema(const EsitoCompilazione& e) {
  std::string testo = "codice_errore " + std::to_string(e.codice) + ", posizione_errore " +
                      std::to_string(e.posizione) + " m: " + std::string(significato(e.codice));
  if (!e.motivo.empty()) {
    testo += ": " + e.motivo;
  }
  if (e.nota) {
    testo += "; vedi " + testo_del_luogo(*e.nota);
  }
  if (!e.luogo.file.empty()) {
    testo += " (" + testo_del_luogo(e.luogo) + ")";
  }
  return testo;
}
