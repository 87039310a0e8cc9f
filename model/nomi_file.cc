#include "model/nomi_file.h"

namespace {

// What follows the scenario name (line files) or "NOME_NUMERO" (train files).
constexpr std::string_view coda(FileDellaCorsa f) {
  switch (f) {
    case FileDellaCorsa::sorgente_linea:
      return "_linea.txt";
    case FileDellaCorsa::sorgente_treno:
      return "-.txt";
    case FileDellaCorsa::note:
      return "_note.txt";
    case FileDellaCorsa::rallentamenti:
      return "_rallentamenti.txt";
    case FileDellaCorsa::scheda:
      return "_scheda_treno.txt";
    case FileDellaCorsa::tracciato:
      return "_linea.dat";
    case FileDellaCorsa::voci:
      return ".sim";
    case FileDellaCorsa::percorso:
      return ".dat";
  }
  return {};
}

// The longer endings first: "_note.txt" must not be read as a train number ending in "_note"
// with some shorter ending, and "_linea.dat" wins over ".dat".
constexpr std::array<FileDellaCorsa, 8> kPerRiconoscere = {
    FileDellaCorsa::scheda, FileDellaCorsa::rallentamenti, FileDellaCorsa::sorgente_linea,
    FileDellaCorsa::tracciato, FileDellaCorsa::note, FileDellaCorsa::sorgente_treno,
    FileDellaCorsa::voci, FileDellaCorsa::percorso,
};

std::optional<Identita> del_treno(std::string_view testa, std::optional<std::string_view> noto) {
  if (noto) {
    if (noto->empty() || testa.size() <= noto->size() + 1 || !testa.starts_with(*noto) ||
        testa[noto->size()] != '_') {
      return std::nullopt;
    }
    return Identita{std::string(*noto), std::string(testa.substr(noto->size() + 1))};
  }
  const size_t trattino = testa.rfind('_');
  if (trattino == std::string_view::npos || trattino == 0 || trattino + 1 == testa.size()) {
    return std::nullopt;
  }
  return Identita{std::string(testa.substr(0, trattino)), std::string(testa.substr(trattino + 1))};
}

}  // namespace

bool della_linea(FileDellaCorsa f) {
  return f == FileDellaCorsa::sorgente_linea || f == FileDellaCorsa::tracciato;
}

std::string nome_file(FileDellaCorsa f, const Identita& id) {
  std::string nome = id.scenario;
  if (!della_linea(f)) {
    nome += "_";
    nome += id.treno;
  }
  nome += coda(f);
  return nome;
}

std::optional<NomeRiconosciuto> riconosci_nome(std::string_view nome,
                                               std::optional<std::string_view> scenario_noto) {
  for (const FileDellaCorsa f : kPerRiconoscere) {
    const std::string_view fine = coda(f);
    if (nome.size() <= fine.size() || !nome.ends_with(fine)) {
      continue;
    }
    const std::string_view testa = nome.substr(0, nome.size() - fine.size());
    if (della_linea(f)) {
      if (scenario_noto && testa != *scenario_noto) {
        continue;
      }
      return NomeRiconosciuto{f, Identita{std::string(testa), {}}};
    }
    if (const std::optional<Identita> id = del_treno(testa, scenario_noto)) {
      return NomeRiconosciuto{f, *id};
    }
  }
  return std::nullopt;
}

std::string nome_file_marcia(std::string_view scenario) {
  return std::string(scenario) + "_marcia.txt";
}

Identita identita_di(const Scenario& s) {
  return {s.nome_scenario, s.numero_treno};
}

std::string nome_sorgente_linea(const Scenario& s) {
  return nome_file(FileDellaCorsa::sorgente_linea, identita_di(s));
}
std::string nome_sorgente_treno(const Scenario& s) {
  return nome_file(FileDellaCorsa::sorgente_treno, identita_di(s));
}
std::string nome_note(const Scenario& s) {
  return nome_file(FileDellaCorsa::note, identita_di(s));
}
std::string nome_rallentamenti(const Scenario& s) {
  return nome_file(FileDellaCorsa::rallentamenti, identita_di(s));
}
std::string nome_scheda(const Scenario& s) {
  return nome_file(FileDellaCorsa::scheda, identita_di(s));
}
std::string nome_file_tracciato(const Scenario& s) {
  return nome_file(FileDellaCorsa::tracciato, identita_di(s));
}
std::string nome_file_voci(const Scenario& s) {
  return nome_file(FileDellaCorsa::voci, identita_di(s));
}
std::string nome_file_percorso(const Scenario& s) {
  return nome_file(FileDellaCorsa::percorso, identita_di(s));
}
