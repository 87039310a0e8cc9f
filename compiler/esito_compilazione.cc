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

std::string_view nome_avviso(TipoAvviso t) {
  switch (t) {
    case TipoAvviso::riga_sconosciuta:
      return "riga-sconosciuta";
    case TipoAvviso::prima_di_generale:
      return "prima-di-generale";
    case TipoAvviso::valori_in_piu:
      return "valori-in-piu";
    case TipoAvviso::valori_dalla_riga_dopo:
      return "valori-dalla-riga-dopo";
    case TipoAvviso::curva_ignorata:
      return "curva-ignorata";
    case TipoAvviso::fuori_ordine:
      return "fuori-ordine";
    case TipoAvviso::sezione_ripetuta:
      return "sezione-ripetuta";
    case TipoAvviso::testo_tagliato:
      return "testo-tagliato";
  }
  return "";
}
