// Test support: a scenario named "Prova", train "1", compiled from small sources written into
// a temporary folder.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "model/scenario.h"
#include "platform/cartella_temporanea.h"

inline constexpr std::string_view kLineaDiProva = "Prova_linea.txt";
inline constexpr std::string_view kTrenoDiProva = "Prova_1-.txt";

struct SorgentiDiProva {
  SorgentiDiProva();

  // Writes the source with the given lines, each ended by CR LF.
  void linea(std::initializer_list<std::string_view> righe) const;
  void treno(std::initializer_list<std::string_view> righe) const;

  // A line source of `lunghezza` metres with the given rows after its general section.
  void linea_semplice(int lunghezza, std::initializer_list<std::string_view> righe = {}) const;
  // A train source with the given rows after "[generale]".
  void treno_semplice(std::initializer_list<std::string_view> righe) const;

  bool linea_esiste() const { return cartella.esiste(kLineaDiProva); }
  bool treno_esiste() const { return cartella.esiste(kTrenoDiProva); }

  piattaforma::CartellaTemporanea cartella;
  Scenario s;
};
