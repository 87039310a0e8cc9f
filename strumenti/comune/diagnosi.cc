#include "strumenti/comune/diagnosi.h"

#include <nlohmann/json.hpp>

#include "sources/codifica_1252.h"

namespace {

std::string parola(Gravita g) {
  switch (g) {
    case Gravita::errore:
      return "errore";
    case Gravita::avviso:
      return "avviso";
    case Gravita::nota:
      return "nota";
  }
  return "";
}

std::string intestazione(const Luogo& p, const std::string& programma) {
  if (p.file.empty()) {
    return programma + ": ";
  }
  if (p.riga == 0) {
    return p.file + ": ";
  }
  return p.file + ":" + std::to_string(p.riga) + ":" + std::to_string(p.colonna) + ": ";
}

// The source line as a terminal shows it, and under it the caret: the bytes before the field
// become spaces, tabs stay tabs, so that the caret lands under the field however wide a tab is.
// A column past the end of the line (a field that begins at the line's end) puts the caret
// just after the last character.
std::string riga_e_accento(const std::string& riga, int colonna) {
  std::string testo = da_1252(riga) + "\n";
  const size_t prima = colonna > 1 ? static_cast<size_t>(colonna - 1) : 0;
  std::string accento;
  for (size_t i = 0; i < prima; ++i) {
    accento += i < riga.size() && riga[i] == '\t' ? '\t' : ' ';
  }
  return testo + accento + "^\n";
}

std::string testo_del_codice(const Diagnosi& d) {
  if (const auto* numero = std::get_if<int32_t>(&d.codice)) {
    return " " + std::to_string(*numero);
  }
  return "";
}

std::string nome_del_tipo(const Diagnosi& d) {
  if (const auto* nome = std::get_if<std::string>(&d.codice)) {
    return " [" + *nome + "]";
  }
  return "";
}

nlohmann::ordered_json luogo_json(const Luogo& p) {
  nlohmann::ordered_json j;
  j["file"] = p.file;
  j["line"] = p.riga;
  j["column"] = p.colonna;
  return j;
}

}  // namespace

Diagnosi diagnosi_del_file(const piattaforma::ErroreFile& e) {
  Diagnosi d;
  d.posto.file = e.percorso();
  d.messaggio = "impossibile " + e.operazione() + ": " + e.motivo();
  return d;
}

std::string testo_diagnosi(const Diagnosi& d, const std::string& programma) {
  std::string testo = intestazione(d.posto, programma) + parola(d.gravita) + testo_del_codice(d) +
                      ": " + d.messaggio + nome_del_tipo(d) + "\n";
  if (d.posto.riga > 0) {
    testo += riga_e_accento(d.riga_sorgente, d.posto.colonna);
  }
  for (const Nota& n : d.note) {
    testo += intestazione(n.posto, programma) + parola(Gravita::nota) + ": " + n.messaggio + "\n";
    if (n.posto.riga > 0) {
      testo += riga_e_accento(n.riga_sorgente, n.posto.colonna);
    }
  }
  return testo;
}

nlohmann::ordered_json oggetto_diagnosi(const Diagnosi& d, bool con_sorgente) {
  nlohmann::ordered_json j = luogo_json(d.posto);
  j["severity"] = parola(d.gravita);
  if (const auto* numero = std::get_if<int32_t>(&d.codice)) {
    j["code"] = *numero;
  } else if (const auto* nome = std::get_if<std::string>(&d.codice)) {
    j["code"] = *nome;
  } else {
    j["code"] = nullptr;
  }
  j["message"] = d.messaggio;
  if (con_sorgente) {
    j["source"] = da_1252(d.riga_sorgente);
  }
  if (!d.note.empty()) {
    nlohmann::ordered_json note = nlohmann::ordered_json::array();
    for (const Nota& n : d.note) {
      nlohmann::ordered_json nota = luogo_json(n.posto);
      nota["message"] = n.messaggio;
      if (con_sorgente) {
        nota["source"] = da_1252(n.riga_sorgente);
      }
      note.push_back(std::move(nota));
    }
    j["notes"] = std::move(note);
  }
  return j;
}

std::string json_diagnosi(const Diagnosi& d) {
  // A file name that is not UTF-8 is shown with replacement characters rather than refused.
  return oggetto_diagnosi(d).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string riga_del_testo(const std::string& testo, int riga) {
  size_t inizio = 0;
  for (int r = 1; r < riga; ++r) {
    const size_t fine = testo.find_first_of("\r\n", inizio);
    if (fine == std::string::npos) {
      return "";
    }
    inizio =
        fine + (testo[fine] == '\r' && fine + 1 < testo.size() && testo[fine + 1] == '\n' ? 2 : 1);
  }
  if (riga < 1 || inizio > testo.size()) {
    return "";
  }
  const size_t fine = testo.find_first_of("\r\n", inizio);
  return testo.substr(inizio, fine == std::string::npos ? std::string::npos : fine - inizio);
}
