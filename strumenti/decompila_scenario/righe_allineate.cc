#include "strumenti/decompila_scenario/righe_allineate.h"

#include <algorithm>
#include <stdexcept>

RigheAllineate::RigheAllineate(std::string parola_chiave, std::vector<size_t> larghezze,
                               std::string prima_del_testo)
    : parola_chiave_(std::move(parola_chiave)),
      larghezze_(std::move(larghezze)),
      prima_del_testo_(std::move(prima_del_testo)) {}

void RigheAllineate::aggiungi(std::vector<std::string> valori, std::string testo) {
  if (valori.size() != larghezze_.size()) {
    throw std::logic_error("riga " + parola_chiave_ + " con " + std::to_string(valori.size()) +
                           " valori invece di " + std::to_string(larghezze_.size()));
  }
  righe_.push_back({parola_chiave_, std::move(valori), std::move(testo)});
}

void RigheAllineate::aggiungi_con_parola(std::string parola_chiave,
                                         std::vector<std::string> valori) {
  aggiungi(std::move(valori));
  righe_.back().parola_chiave = std::move(parola_chiave);
}

void scrivi_linea(std::string& testo, std::string_view linea) {
  testo += linea;
  testo += "\r\n";
}

std::vector<std::string> RigheAllineate::linee() const {
  std::vector<size_t> larghezze = larghezze_;
  for (const Riga& r : righe_) {
    for (size_t i = 0; i < larghezze.size(); ++i) {
      larghezze[i] = std::max(larghezze[i], r.valori[i].size());
    }
  }
  std::vector<std::string> linee;
  for (const Riga& r : righe_) {
    std::string linea = r.parola_chiave;
    for (size_t i = 0; i < larghezze.size(); ++i) {
      linea += ',';
      linea.append(larghezze[i] - r.valori[i].size(), ' ');
      linea += r.valori[i];
    }
    if (!prima_del_testo_.empty()) {
      linea += ',';
      linea += prima_del_testo_;
      linea += r.testo;
    }
    linee.push_back(std::move(linea));
  }
  return linee;
}

void RigheAllineate::scrivi(std::string& testo) const {
  for (const std::string& linea : linee()) {
    scrivi_linea(testo, linea);
  }
}
