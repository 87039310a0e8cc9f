// Test support: a scenario named "Prova", train "1", compiled from small sources written into
// a folder of a disk in memory.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "model/scenario.h"
#include "platform/disco_in_memoria.h"

inline constexpr std::string_view kLineaDiProva = "Prova_linea.txt";
inline constexpr std::string_view kTrenoDiProva = "Prova_1-.txt";

// One folder of a disk in memory, with the calls a test needs to look at its files.
struct CartellaInMemoria {
  piattaforma::DiscoInMemoria disco;

  const std::string& percorso() const { return percorso_; }
  std::string file(std::string_view nome) const { return percorso_ + "/" + std::string(nome); }
  void scrivi(std::string_view nome, std::string_view contenuto) {
    disco.file[file(nome)] = std::string(contenuto);
  }
  // The content of file `nome`; std::out_of_range when it is not there.
  const std::string& leggi(std::string_view nome) const { return disco.file.at(file(nome)); }
  bool esiste(std::string_view nome) const { return disco.file.contains(file(nome)); }

 private:
  std::string percorso_ = "/prova";
};

struct SorgentiDiProva {
  SorgentiDiProva();

  // Writes the source with the given lines, each ended by CR LF.
  void linea(std::initializer_list<std::string_view> righe);
  void treno(std::initializer_list<std::string_view> righe);

  // A line source of `lunghezza` metres with the given rows after its general section.
  void linea_semplice(int lunghezza, std::initializer_list<std::string_view> righe = {});
  // A train source with the given rows after "[generale]".
  void treno_semplice(std::initializer_list<std::string_view> righe);

  bool linea_esiste() const { return cartella.esiste(kLineaDiProva); }
  bool treno_esiste() const { return cartella.esiste(kTrenoDiProva); }

  CartellaInMemoria cartella;
  Scenario s;
};
