#include "documents/dati_note.h"

#include <array>
#include <string_view>

#include "sources/scrivi_righe.h"

namespace {

// One entry per line of the notes, in file order.
constexpr auto kLinee = std::to_array<std::string_view>({
    "                  Treno 4417 sul percorso Tavena - Crostia",
    "",
    " Note sullo scenario:",
    "",
    " Lo scenario propone diverse situazioni sfavorevoli: un ritardo iniziale, alcuni",
    " rallentamenti e più di un segnale disposto a via impedita. Per aumentare la difficoltà il",
    " treno è simulato in rango A con sei carrozze, mentre il servizio reale è svolto da due o",
    " tre automotrici in rango C. Attenzione alla velocità sul ponte del Versino: lì il limite",
    " per il rango A è di 30 km/h.",
    "",
    " Il servizio reale termina alle 8.12 nella stazione di Crostia; lo scenario simula invece la",
    " diramazione per Crostia C.L.V., che a quel tempo non era ancora aperta all'esercizio.",
    "",
    " Scenario realizzato da Marco Ferlini.",
    " Per segnalazioni e suggerimenti: scenari.ferlini@example.org",
});

}  // namespace

Righe dati_note() {
  return righe_con_sentinella(kLinee);
}
