// The whole run: fixes the scenario's identity, shows the wait window, writes the five texts
// into `cartella` in their fixed order and compiles the scenario there.
#pragma once

#include <string>

#include "compiler/esito_compilazione.h"
#include "model/scenario.h"
#include "platform/disco.h"

inline constexpr const char* kNomeScenario = "Tavena_Crostia";
inline constexpr const char* kNumeroTreno = "4417";

// Any failure to create, delete or write a file leaves by exception: the jobs after the
// failing one do not run, and the files already written stay as they are. Returns what the
// compile found.
EsitoCompilazione Form_Load(Scenario& s, piattaforma::Disco& disco, const std::string& cartella);

// The five texts of the run, each recreated in `cartella` in the fixed order; both sources
// come first, since the compile reads them back.
void scrivi_testi(const Scenario& s, piattaforma::Disco& disco, const std::string& cartella);
