// What the client declared it can take, read once from `initialize` at the protocol's edge:
// every answer is shaped from this value alone. A client that declares no optional feature
// gets plain text, no snippet, each note folded into its problem's message, a flat outline,
// UTF-16 places, no registration of watched files and no inlay hints.
#pragma once

#include <nlohmann/json.hpp>

#include "strumenti/lingua_scenario/testo_editor.h"

struct CapacitaCliente {
  UnitaPosizione unita = UnitaPosizione::utf16;
  bool snippet = false;                  // completion items with tab stops
  bool markdown_descrizione = false;     // the hover's text
  bool markdown_firma = false;           // the signature's documentation
  bool informazioni_collegate = false;   // a problem's notes as places of their own
  bool simboli_gerarchici = false;       // the outline as a tree
  bool registra_file_osservati = false;  // the server may ask to be told of changed files
  bool suggerimenti = false;             // inlay hints
  bool rinfresca_suggerimenti = false;   // the server may ask the hints to be asked again
  bool azioni_letterali = false;         // code actions as actions with their edits

  bool operator==(const CapacitaCliente&) const = default;
};

// `capabilities` as `initialize` carries it; anything of the wrong shape counts as not
// declared.
CapacitaCliente capacita_del_cliente(const nlohmann::json& capabilities);

// The editor's units of the first offered encoding the server counts in: UTF-8 when offered,
// UTF-16 (which every client takes) otherwise; and its name.
UnitaPosizione unita_offerta(const nlohmann::json& capabilities);
const char* nome_unita(UnitaPosizione u);
