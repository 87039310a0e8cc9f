// The pairs a source is compiled with: a train source with the line source of its scenario in
// its folder, a line source with each train source of its scenario there, each source the
// editor's text when it is open and the disk's otherwise; and the problems of those compiles
// that belong to one file.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
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
  // The train's number as its file's name gives it (UTF-8); empty without a train source.
  std::string numero_treno;
  Compilazione c;
};

// The line source of the source at `percorso`: itself for a line source. A train source's is
// the line source in its folder (open or on the disk) whose scenario its name begins with, the
// longest such name when several do; without one, its name splits at its last "_". None for a
// file of neither name.
std::optional<std::string> linea_del_file(const std::string& percorso,
                                          const DocumentiAperti& aperti, piattaforma::Disco& disco);

// The train sources of the line source at `linea`, in its folder, open or on the disk: their
// paths, sorted by name, each once.
std::vector<std::string> treni_della_linea(const std::string& linea, const DocumentiAperti& aperti,
                                           piattaforma::Disco& disco);

// The compile of the line source at `linea` with the train source at `treno`; with no train,
// the line alone.
CoppiaCompilata compila_con_treno(const std::string& linea, const std::optional<std::string>& treno,
                                  const DocumentiAperti& aperti, piattaforma::Disco& disco);

// The compile of the pair of the source at `percorso`. A line source takes the first train
// source of its name, open or on the disk; a file of neither name is a line source alone.
CoppiaCompilata compila_coppia(const std::string& percorso, const DocumentiAperti& aperti,
                               piattaforma::Disco& disco);

// Line or train, by the file's name; a file of neither name is read as a line source.
GenereSorgente genere_del_file(const std::string& percorso);

// The problems of the file `per` (the pair's line or train): the characters its bytes cannot
// hold, then the compile's problems that lie in it, with the notes that lie in the pair. A
// problem in no file of the pair goes to the file that is there.
std::vector<Diagnosi> diagnosi_del_file(const CoppiaCompilata& k, const Fonte& per);

// What one compile found, by file: its two sources and the problems of each, without the
// compile itself, whose model and images are large.
struct ProblemiDellaCoppia {
  Fonte linea;
  Fonte treno;
  std::string numero_treno;  // empty without a train source
  std::vector<Diagnosi> della_linea;
  std::vector<Diagnosi> del_treno;
};

ProblemiDellaCoppia problemi_della_coppia(const CoppiaCompilata& k);

// What a caller adds to the problems of a compile from the compile itself, before it is
// dropped (the timetable check's, for one).
using ProblemiAggiunti = std::function<void(const CoppiaCompilata&, ProblemiDellaCoppia&)>;

// The problems of the line source at `linea` compiled with each of its train sources, in their
// order, or alone when it has none. One compile is held at a time: each takes as much memory
// as the last, which it reuses.
std::vector<ProblemiDellaCoppia> problemi_della_linea(const std::string& linea,
                                                      const DocumentiAperti& aperti,
                                                      piattaforma::Disco& disco,
                                                      const ProblemiAggiunti& aggiunti = {});

// The problems of the line source over its compiles `coppie` (those of problemi_della_linea),
// each given once. A problem that every compile finds is the line's own; one that only some
// find ends with the trains it comes from: "(treno 4419)", "(treni 4417, 4419)".
std::vector<Diagnosi> diagnosi_della_linea(const std::vector<ProblemiDellaCoppia>& coppie);
