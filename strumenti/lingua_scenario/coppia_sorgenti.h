// The pair a source is compiled with: the line source and a train source of the same scenario
// in the same folder, each the editor's text when it is open and the disk's otherwise; and the
// problems of that compile that belong to one file of the pair.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "compiler/compila.h"
#include "platform/disco.h"
#include "strumenti/comune/diagnosi.h"
#include "strumenti/lingua_scenario/righe_sorgente.h"
#include "strumenti/lingua_scenario/testo_editor.h"

// A source of a compile: its path and its text as the editor counts it (none when missing).
struct Fonte {
  std::string percorso;
  std::shared_ptr<const TestoEditor> testo;
};

// The sources the editor holds open, by URI, each with its path.
using DocumentiAperti = std::map<std::string, Fonte>;

struct CoppiaCompilata {
  Fonte linea;
  Fonte treno;
  // The names the compile gives the two files.
  std::string nome_linea;
  std::string nome_treno;
  Compilazione c;
};

// The compile of the pair of the source at `percorso`. A line source takes the first train
// source of its name, open or on the disk; a file of neither name is a line source alone.
CoppiaCompilata compila_coppia(const std::string& percorso, const DocumentiAperti& aperti,
                               piattaforma::Disco& disco);

// Line or train, by the file's name; a file of neither name is read as a line source.
GenereSorgente genere_del_file(const std::string& percorso);

// Whether two paths are sources of one scenario in one folder, so that a change of one
// changes the other's compile.
bool stesso_scenario(const std::string& a, const std::string& b);

// The problems of the file `per` (the pair's line or train): the characters its bytes cannot
// hold, then the compile's problems that lie in it, with the notes that lie in the pair. A
// problem in no file of the pair goes to the file that is there.
std::vector<Diagnosi> diagnosi_del_file(const CoppiaCompilata& k, const Fonte& per);
