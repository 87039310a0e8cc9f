// An author's compile: the two sources read by path and never touched again, compiled by the
// builder's own compile under the names the identity gives, and the three files written into
// the output folder. What the compile found comes back as problems that point into the
// author's files.
#pragma once

#include <string>
#include <vector>

#include "compiler/compila.h"
#include "platform/disco.h"
#include "strumenti/comune/diagnosi.h"
#include "strumenti/comune/diagnosi_compilazione.h"
#include "strumenti/comune/identita_sorgenti.h"

struct RichiestaCompilazione {
  std::string linea;  // the two sources, as the author named them
  std::string treno;
  std::string cartella = ".";  // where the binary files go
  Identita identita;  // UTF-8, letters Windows-1252 has: the files are named with it as given
  bool con_tracciato = true;  // false: no plan is built and no plan file written
  // The timetable check's parameters given as options, CHIAVE=VALORE, over those of the file
  // beside the line source.
  std::vector<std::string> parametri_marcia;
};

struct RisultatoCompilazione {
  // The warnings in the order they were found, then every problem, in order.
  std::vector<Diagnosi> diagnosi;
  std::vector<std::string> file_scritti;  // full paths, in the order written
  // A problem in the data, or sources that left nothing to write (no track, a stamp
  // conflict, a model that the files cannot carry).
  bool errore_nei_dati = false;
  // The compile itself: its model and the images of the files, for a caller that inspects
  // them without reading the files back.
  Compilazione compilazione;
  // The two sources as they were read: the line source, then the train source.
  std::vector<SorgenteAutore> sorgenti;
};

// Reads both sources from `disco` (a missing or unreadable one throws piattaforma::ErroreFile,
// before anything is written), compiles them and writes the binary files into the output
// folder of `disco`, as one set: a file that cannot be written throws piattaforma::ErroreFile
// and leaves the three files there were before. Nothing the sources hold makes it throw.
RisultatoCompilazione compila_sorgenti_autore(piattaforma::Disco& disco,
                                              const RichiestaCompilazione& richiesta);

// The same problems with every warning made an error.
void avvisi_come_errori(std::vector<Diagnosi>& diagnosi);

// Writes the built-in scenario's two sources into `cartella` of `disco`, under the names of the
// built-in identity, and returns their paths. A file of that name already there is left as it
// is and the example is not written: piattaforma::ErroreFile.
std::vector<std::string> scrivi_esempio(piattaforma::Disco& disco, const std::string& cartella);
