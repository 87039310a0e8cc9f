#include "strumenti/comune/identita_sorgenti.h"

#include <stdexcept>
#include <string_view>

#include "model/nomi_file.h"
#include "sources/codifica_1252.h"

namespace {

// The file name after the last folder separator; both separators count, since an author on
// Windows may write either.
std::string_view nome_del_file(std::string_view percorso) {
  const size_t barra = percorso.find_last_of("/\\");
  return barra == std::string_view::npos ? percorso : percorso.substr(barra + 1);
}

std::optional<std::string> scenario_dal_nome(std::string_view linea) {
  const std::optional<NomeRiconosciuto> n = riconosci_nome(nome_del_file(linea));
  if (!n || n->file != FileDellaCorsa::sorgente_linea) {
    return std::nullopt;
  }
  return n->identita.scenario;
}

// The scenario name may hold underscores itself, so the number is what lies between "NOME_"
// and the train source's ending for the known NOME.
std::optional<std::string> treno_dal_nome(std::string_view treno, const std::string& scenario) {
  const std::optional<NomeRiconosciuto> n = riconosci_nome(nome_del_file(treno), scenario);
  if (!n || n->file != FileDellaCorsa::sorgente_treno) {
    return std::nullopt;
  }
  return n->identita.treno;
}

}  // namespace

std::variant<Identita, std::string> identita_delle_sorgenti(
    const std::string& linea, const std::string& treno,
    const std::optional<std::string>& scenario_dato, const std::optional<std::string>& treno_dato) {
  const std::optional<std::string> scenario =
      scenario_dato ? scenario_dato : scenario_dal_nome(linea);
  if (!scenario || scenario->empty()) {
    return "il nome dello scenario non si ricava da \"" + std::string(nome_del_file(linea)) +
           "\" (il nome atteso e' NOME_linea.txt): indicarlo con --scenario NOME";
  }
  const std::optional<std::string> numero =
      treno_dato ? treno_dato : treno_dal_nome(treno, *scenario);
  if (!numero || numero->empty()) {
    return "il numero del treno non si ricava da \"" + std::string(nome_del_file(treno)) +
           "\" (il nome atteso e' " + *scenario + "_NUMERO-.txt): indicarlo con --treno NUMERO";
  }
  // Both go into the entry file, in Windows-1252.
  for (const std::string* testo : {&*scenario, &*numero}) {
    try {
      in_1252(*testo);
    } catch (const std::logic_error&) {
      return "\"" + *testo +
             "\" ha caratteri che Windows-1252 non ha: il file delle voci non li puo' portare";
    }
  }
  return Identita{*scenario, *numero};
}
