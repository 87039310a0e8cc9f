// The parameters of an author's timetable check: the defaults, then the file of the scenario's
// name beside the line source (`nome_file_parametri`) when there is one, then the options
// given as CHIAVE=VALORE, each over the one before. A bad value is an error at its place: in
// the file at its line and column, in an option with the option's words.
#pragma once

#include <string>
#include <vector>

#include "model/identita.h"
#include "platform/disco.h"
#include "strumenti/comune/diagnosi.h"
#include "strumenti/marcia/parametri_marcia.h"

struct ParametriAutore {
  ParametriMarcia parametri;
  std::vector<Diagnosi> errori;
  std::string file;  // the path of the file read; empty when there is none
};

// `percorso_linea` is the line source as the author named it; the file is looked for in its
// folder. A file that is there but cannot be read is an error of that file.
ParametriAutore parametri_autore(piattaforma::Disco& disco, const std::string& percorso_linea,
                                 const Identita& id, const std::vector<std::string>& opzioni);

// The parameters of a file's text alone, its problems as diagnostics of `file`.
ParametriAutore parametri_dal_testo(const std::string& file, const std::string& testo,
                                    const ParametriMarcia& base = {});
