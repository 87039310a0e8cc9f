// The whole run: fixes the scenario's identity, shows the wait window, takes `cartella` for
// this run alone, writes the five texts into it in their fixed order and compiles the
// scenario there.
#pragma once

#include <string>
#include <vector>

#include "compiler/esito_compilazione.h"
#include "model/scenario.h"
#include "platform/disco.h"

inline constexpr const char* kNomeScenario = "Tavena_Crostia";
inline constexpr const char* kNumeroTreno = "4417";

// Any failure to create, delete or write a file leaves by exception: the jobs after the
// failing one do not run, the files already replaced stay as they are, and no file is left
// cut or under a temporary name. A run waits while another run holds the same folder.
// Returns what the compile found.
EsitoCompilazione Form_Load(Scenario& s, piattaforma::Disco& disco, const std::string& cartella);

// The five texts of the run, each recreated in `cartella` in the fixed order; both sources
// come first, since the compile reads them back.
void scrivi_testi(const Scenario& s, piattaforma::Disco& disco, const std::string& cartella);

// The names of the eight files a run writes in `cartella`, sources first.
std::vector<std::string> file_della_corsa(const Scenario& s);
