// Names of the eight files of a run, formed from the scenario name and the train number.
// The train source alone carries a hyphen before its extension.
#pragma once

#include <string>

#include "model/scenario.h"

std::string nome_sorgente_linea(const Scenario& s);  // Tavena_Crostia_linea.txt
std::string nome_sorgente_treno(const Scenario& s);  // Tavena_Crostia_4417-.txt
std::string nome_note(const Scenario& s);            // Tavena_Crostia_4417_note.txt
std::string nome_rallentamenti(const Scenario& s);   // Tavena_Crostia_4417_rallentamenti.txt
std::string nome_scheda(const Scenario& s);          // Tavena_Crostia_4417_scheda_treno.txt
std::string nome_file_tracciato(const Scenario& s);  // Tavena_Crostia_linea.dat
std::string nome_file_voci(const Scenario& s);       // Tavena_Crostia_4417.sim
std::string nome_file_percorso(const Scenario& s);   // Tavena_Crostia_4417.dat
