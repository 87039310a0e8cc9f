// The one rule that names the eight files of a run from the identity, and reads a file name
// back into an identity. The line's two files carry the scenario name alone; the train's carry
// the scenario name, "_" and the train number; the train source alone has a hyphen before its
// extension. The names are bytes: an identity in Windows-1252 gives names in Windows-1252, one
// in UTF-8 names in UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/identita.h"
#include "model/scenario.h"

enum class FileDellaCorsa : uint8_t {
  sorgente_linea,  // Tavena_Crostia_linea.txt
  sorgente_treno,  // Tavena_Crostia_4417-.txt
  note,            // Tavena_Crostia_4417_note.txt
  rallentamenti,   // Tavena_Crostia_4417_rallentamenti.txt
  scheda,          // Tavena_Crostia_4417_scheda_treno.txt
  tracciato,       // Tavena_Crostia_linea.dat
  voci,            // Tavena_Crostia_4417.sim
  percorso,        // Tavena_Crostia_4417.dat
};

// Every file of a run, in the order above: the sources first.
inline constexpr std::array<FileDellaCorsa, 8> kFileDellaCorsa = {
    FileDellaCorsa::sorgente_linea, FileDellaCorsa::sorgente_treno, FileDellaCorsa::note,
    FileDellaCorsa::rallentamenti,  FileDellaCorsa::scheda,         FileDellaCorsa::tracciato,
    FileDellaCorsa::voci,           FileDellaCorsa::percorso,
};

// Whether the file belongs to the line (its name carries no train number).
bool della_linea(FileDellaCorsa f);

std::string nome_file(FileDellaCorsa f, const Identita& id);

// What a file name says: which file of a run it is, and of which identity (the train empty
// for the line's files).
struct NomeRiconosciuto {
  FileDellaCorsa file;
  Identita identita;

  bool operator==(const NomeRiconosciuto&) const = default;
};

// Reads a file name (without its folder) back. The scenario name may hold "_" and so may a
// train number: with `scenario_noto` the train number is what follows "NOME_"; without it, a
// train's file splits at its last "_". Nothing for a name that no identity gives (an empty
// scenario name or train number among them). Since "_linea" could end a train number too, a
// name ending in "_linea.dat" reads as the line's plan file.
std::optional<NomeRiconosciuto> riconosci_nome(
    std::string_view nome, std::optional<std::string_view> scenario_noto = std::nullopt);

// The parameters of the timetable check, one file for every train of a scenario, beside its
// sources: Tavena_Crostia_marcia.txt.
std::string nome_file_marcia(std::string_view scenario);

// The identity that the model holds, as its file names use it.
Identita identita_di(const Scenario& s);

// The builder's names, from the identity the model holds.
std::string nome_sorgente_linea(const Scenario& s);
std::string nome_sorgente_treno(const Scenario& s);
std::string nome_note(const Scenario& s);
std::string nome_rallentamenti(const Scenario& s);
std::string nome_scheda(const Scenario& s);
std::string nome_file_tracciato(const Scenario& s);
std::string nome_file_voci(const Scenario& s);
std::string nome_file_percorso(const Scenario& s);
