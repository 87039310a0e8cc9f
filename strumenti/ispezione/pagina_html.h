// One self-contained page that shows a compiled scenario: the plan of the line drawn from the
// plan file, with stations, signals and tunnels marked, and under it the profile along the
// chainage (altitude accumulated from the gradients, the train's speed limit, the boards'
// speeds for ranks A, B and C, adhesion, slow-downs, tunnels, stations) and, when the
// timetable was checked, the speed and the time of the fastest run against the ceilings and
// the timetable, with the stretches that are not ok. Pointing at any drawing shows what stands
// at that metre. Everything the page needs is inside it: its data
// as JSON, its style and its script; it loads nothing.
//
// The page marks its own state for whoever checks it: the body gets data-stato="pronto" when
// the script has drawn everything, and the root element collects the text of any script error
// in data-errori.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

#include <string_view>
#include <vector>

#include "strumenti/ispezione/ispezione.h"
#include "strumenti/ispezione/polilinea.h"
#include "strumenti/ispezione/riepilogo.h"
#include "strumenti/marcia/marcia.h"

// Points of the reduced plan that the page draws at most, and of the finer plan that it draws
// from when zoomed in, reduced with a tolerance of kTolleranzaPianta metres as long as that
// fits.
inline constexpr size_t kPuntiPianta = 4000;
inline constexpr size_t kPuntiPiantaFine = 40000;
inline constexpr double kTolleranzaPianta = 0.5;

// The plan as the page draws it: reduced for the whole view, and finer for a zoomed one.
struct PianteRidotte {
  std::vector<PuntoPianta> intera;
  std::vector<PuntoPianta> fine;
};
PianteRidotte piante_ridotte(const TracciatoLetto& t);

// The data that the page's script draws from; the plan reduced from `i`'s plan, or given
// (those of `piante_ridotte` for the same plan). The timetable's check, when there is one, is
// that of `i`'s entries and track, under "marcia"; without one the data has no "marcia".
nlohmann::ordered_json dati_pagina(const Ispezione& i, const Riepilogo& r,
                                   const Marcia* marcia = nullptr);
nlohmann::ordered_json dati_pagina(const Ispezione& i, const Riepilogo& r,
                                   const PianteRidotte& piante, const Marcia* marcia = nullptr);

// The page, in UTF-8.
std::string pagina_html(const Ispezione& i, const Riepilogo& r, const Marcia* marcia = nullptr);

// The page around the given data (that of dati_pagina, with whatever a server adds to it).
std::string pagina_con_dati(const nlohmann::ordered_json& dati);
// The same with the data already written as JSON (UTF-8).
std::string pagina_con_testo_dati(std::string_view dati_json);

// JSON as the page takes it: compact, and bytes that are not UTF-8 replaced.
std::string testo_json(const nlohmann::ordered_json& j);

// `testo` made safe to stand inside a script element.
std::string dentro_uno_script(std::string_view testo);
