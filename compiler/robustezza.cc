#include "compiler/robustezza.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>

#include "compiler/errore.h"
#include "compiler/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "platform/file_system.h"

namespace {

constexpr std::string_view kSeparatore("\0\0", 2);

// Codes with which the line phase ends before it opens the train source, which then stays.
bool treno_mai_aperto(int32_t codice) {
  for (int32_t c : {101, 102, 1, 3, 4, 5, 6, 21, 103}) {
    if (codice == c) {
      return true;
    }
  }
  return false;
}

uint16_t u16(const std::string& b, size_t i) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[i]) | static_cast<uint8_t>(b[i + 1]) << 8);
}

// Reads the entry file back record by record: exactly 87 of them and nothing more.
std::string verifica_voci(const std::string& b) {
  size_t pos = 0;
  for (int i = 0; i < kNumeroVoci; ++i) {
    if (pos + 34 > b.size()) {
      return "file delle voci troncato alla voce " + std::to_string(i);
    }
    pos += 34 + u16(b, pos + 14);
    if (pos > b.size()) {
      return "testo della voce " + std::to_string(i) + " oltre la fine del file";
    }
  }
  return pos == b.size() ? "" : "byte dopo l'ultima voce";
}

// Reads the plan file back as tagged numbers: valid tags, two columns of `punti` values.
std::string verifica_tracciato(const std::string& b, int64_t punti) {
  int64_t numeri = 0;
  size_t pos = 0;
  while (pos + 2 <= b.size()) {
    const uint16_t etichetta = u16(b, pos);
    if (etichetta != 0 && etichetta != 2 && etichetta != 5) {
      return "etichetta " + std::to_string(etichetta) + " nel tracciato";
    }
    pos += 2 + (etichetta == 2 ? 2 : etichetta == 5 ? 8 : 0);
    ++numeri;
  }
  if (pos != b.size()) {
    return "file del tracciato illeggibile";
  }
  return numeri == 2 * punti ? "" : "il tracciato ha " + std::to_string(numeri) + " numeri";
}

std::string leggi(const std::filesystem::path& percorso) {
  return piattaforma::leggi_file(percorso.string());
}

}  // namespace

SorgentiDaIngresso dividi_ingresso(std::string_view ingresso) {
  const size_t taglio = ingresso.find(kSeparatore);
  if (taglio == std::string_view::npos) {
    return {ingresso, std::nullopt};
  }
  return {ingresso.substr(0, taglio), ingresso.substr(taglio + kSeparatore.size())};
}

std::string unisci_sorgenti(std::string_view linea, std::string_view treno) {
  std::string ingresso(linea);
  ingresso += kSeparatore;
  ingresso += treno;
  return ingresso;
}

std::string compila_e_verifica(std::string_view ingresso, const std::string& cartella) {
  namespace fs = std::filesystem;
  for (const auto& voce : fs::directory_iterator(cartella)) {
    fs::remove_all(voce.path());
  }
  Scenario s;
  s.nome_scenario = "Prova";
  s.numero_treno = "1";
  const fs::path dove(cartella);
  const SorgentiDaIngresso sorgenti = dividi_ingresso(ingresso);
  piattaforma::ricrea_file((dove / nome_sorgente_linea(s)).string(), sorgenti.linea);
  if (sorgenti.treno) {
    piattaforma::ricrea_file((dove / nome_sorgente_treno(s)).string(), *sorgenti.treno);
  }

  try {
    memorizza_percorso(s, cartella, 1);
  } catch (const ErroreTerminale&) {
    // The stamps found their fields taken: the run ends with its message, nothing written.
    return fs::exists(dove / nome_file_percorso(s)) ? "file scritti dopo un errore 125x" : "";
  } catch (const std::length_error&) {
    // A sign text too long for the entry file: a reported failure of the run.
    return "";
  } catch (const std::runtime_error& e) {
    if (s.percorso.size() < 2) {
      return "";  // no cell 1 for the stamps: a reported failure of the run
    }
    return std::string("eccezione inattesa: ") + e.what();
  }

  if (fs::exists(dove / nome_sorgente_linea(s))) {
    return "la sorgente della linea esiste ancora (codice " + std::to_string(s.codice_errore) + ")";
  }
  if (fs::exists(dove / nome_sorgente_treno(s)) && !treno_mai_aperto(s.codice_errore)) {
    return "la sorgente del treno esiste ancora (codice " + std::to_string(s.codice_errore) + ")";
  }
  const bool scritti = !s.percorso.empty();
  for (const std::string& nome :
       {nome_file_tracciato(s), nome_file_voci(s), nome_file_percorso(s)}) {
    if (fs::exists(dove / nome) != scritti) {
      return nome + (scritti ? " mancante" : " scritto senza percorso");
    }
  }
  if (!scritti) {
    return s.codice_errore != 0 ? "" : "nessun percorso e nessun codice d'errore";
  }
  const std::string percorso = leggi(dove / nome_file_percorso(s));
  if (percorso.size() != 15 * (static_cast<size_t>(s.ultima_cella) + 1)) {
    return "file del percorso di " + std::to_string(percorso.size()) + " byte per " +
           std::to_string(s.ultima_cella + 1) + " celle";
  }
  if (std::string e = verifica_voci(leggi(dove / nome_file_voci(s))); !e.empty()) {
    return e;
  }
  return verifica_tracciato(leggi(dove / nome_file_tracciato(s)), int64_t{s.lunghezza_estesa} + 1);
}
