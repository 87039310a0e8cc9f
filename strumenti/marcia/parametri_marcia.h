// The train and the physics of the timetable check, with names and units, and the small text
// file that sets them: one `chiave = valore` per line, '#' to the end of a line is a comment.
// The same keys serve as command-line options.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct ParametriMarcia {
  double massa_locomotiva_t = 80;
  double massa_carro_t = 44;
  double lunghezza_locomotiva_m = 20;
  double lunghezza_carro_m = 26;
  double fattore_masse_rotanti = 1.06;
  double sforzo_massimo_kn = 200;
  double potenza_kw = 3000;
  // Running resistance in newtons per kilonewton of weight: costante + quadratica x V^2, V in
  // km/h.
  double resistenza_costante = 1.8;
  double resistenza_quadratica = 0.0003;
  // Service braking: the braked-mass percentage / 100 times `frenatura_per_massa_frenata_ms2`,
  // at most `frenatura_massima_ms2`; with the gradient, never below `frenatura_minima_ms2`.
  double frenatura_massima_ms2 = 1.0;
  double frenatura_per_massa_frenata_ms2 = 0.6;
  double frenatura_minima_ms2 = 0.05;
  double gravita_ms2 = 9.81;
  // A margin below this share of the fastest run makes a stretch tight.
  double soglia_stretto_percento = 3;
};

// One key: its name, unit, meaning, the field it sets and the values it accepts.
struct ChiaveMarcia {
  std::string_view nome;
  std::string_view unita;
  std::string_view descrizione;
  double ParametriMarcia::*campo;
  bool zero_ammesso;  // false: the value must be above 0; true: at least 0
};

// Every key, in the order of the fields.
std::span<const ChiaveMarcia> chiavi_marcia();

// Sets the parameter `chiave` from its text; the reason in Italian when the key is unknown or
// the text is not an accepted value, and `parametri` is left as it was.
std::optional<std::string> imposta(ParametriMarcia& parametri, std::string_view chiave,
                                   std::string_view testo);

// Why the parameters cannot be used, by the same rules as `imposta`: the first value that is
// not a finite number or that is below what its key accepts. None when all are good.
std::optional<std::string> controlla(const ParametriMarcia& parametri);

// A problem of the file, at a line and a byte column (both from 1).
struct ErroreParametri {
  int riga = 0;
  int colonna = 0;
  std::string messaggio;
};

struct LetturaParametri {
  ParametriMarcia parametri;
  std::vector<ErroreParametri> errori;  // in file order; a line with an error sets nothing
};

// The file's text read over `base`: the keys it names replace their defaults.
LetturaParametri leggi_parametri(std::string_view testo, const ParametriMarcia& base = {});

// The file's name beside the sources of scenario `nome_scenario`.
std::string nome_file_parametri(std::string_view nome_scenario);
