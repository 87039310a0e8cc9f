#include "strumenti/marcia/parametri_autore.h"

#include <optional>

#include "sources/codifica_1252.h"

namespace {

// The folder part of a path, separator included; both separators count, as an author on
// Windows may write either.
std::string cartella_di(const std::string& percorso) {
  const size_t barra = percorso.find_last_of("/\\");
  return barra == std::string::npos ? "" : percorso.substr(0, barra + 1);
}

}  // namespace

ParametriAutore parametri_dal_testo(const std::string& file, const std::string& testo,
                                    const ParametriMarcia& base) {
  ParametriAutore r;
  r.file = file;
  LetturaParametri lettura = leggi_parametri(testo, base);
  r.parametri = lettura.parametri;
  for (const ErroreParametri& e : lettura.errori) {
    Diagnosi d;
    d.posto = {file, e.riga, e.colonna};
    d.messaggio = e.messaggio;
    d.riga_sorgente = riga_del_testo(testo, e.riga);
    r.errori.push_back(std::move(d));
  }
  return r;
}

ParametriAutore parametri_autore(piattaforma::Disco& disco, const std::string& percorso_linea,
                                 const Identita& id, const std::vector<std::string>& opzioni) {
  ParametriAutore r;
  const std::string file = cartella_di(percorso_linea) + nome_file_parametri(id.scenario);
  try {
    if (disco.esiste(file)) {
      r = parametri_dal_testo(file, disco.leggi(file));
    }
  } catch (const piattaforma::ErroreFile& e) {
    r.errori.push_back(diagnosi_del_file(e));
  }
  for (const std::string& opzione : opzioni) {
    const size_t uguale = opzione.find('=');
    std::optional<std::string> perche;
    if (uguale == std::string::npos) {
      perche = "atteso CHIAVE=VALORE";
    } else {
      perche = imposta(r.parametri, opzione.substr(0, uguale), opzione.substr(uguale + 1));
    }
    if (perche) {
      Diagnosi d;
      d.messaggio = "--marcia-parametro " + opzione + ": " + *perche;
      r.errori.push_back(std::move(d));
    }
  }
  return r;
}
