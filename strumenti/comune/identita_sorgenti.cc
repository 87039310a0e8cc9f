#include "strumenti/comune/identita_sorgenti.h"

#include <stdexcept>
#include <string_view>

#include "sources/codifica_1252.h"

namespace {

constexpr std::string_view kCodaLinea = "_linea.txt";
constexpr std::string_view kCodaTreno = "-.txt";

// The file name after the last folder separator; both separators count, since an author on
// Windows may write either.
std::string_view nome_del_file(std::string_view percorso) {
  const size_t barra = percorso.find_last_of("/\\");
  return barra == std::string_view::npos ? percorso : percorso.substr(barra + 1);
}

std::optional<std::string> scenario_dal_nome(std::string_view linea) {
  const std::string_view nome = nome_del_file(linea);
  if (nome.size() <= kCodaLinea.size() || !nome.ends_with(kCodaLinea)) {
    return std::nullopt;
  }
  return std::string(nome.substr(0, nome.size() - kCodaLinea.size()));
}

// NOME_NUMERO-.txt for a known NOME: the scenario name may hold underscores itself, so the
// number is what lies between "NOME_" and "-.txt".
std::optional<std::string> treno_dal_nome(std::string_view treno, const std::string& scenario) {
  const std::string_view nome = nome_del_file(treno);
  const std::string testa = scenario + "_";
  if (nome.size() <= testa.size() + kCodaTreno.size() || !nome.starts_with(testa) ||
      !nome.ends_with(kCodaTreno)) {
    return std::nullopt;
  }
  return std::string(nome.substr(testa.size(), nome.size() - testa.size() - kCodaTreno.size()));
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
