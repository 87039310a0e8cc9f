// The editor's protocol at the server's edge: file URIs and paths, places in the editor's
// units (UTF-16 code units or UTF-8 bytes) from the analysis's byte columns and back, the
// protocol's errors, and the JSON shape of every answer the analysis gives. The framing is in
// canale_lsp; what the server does with a message is in servizio_sorgenti.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "strumenti/comune/diagnosi.h"
#include "strumenti/lingua_scenario/analisi_sorgente.h"
#include "strumenti/lingua_scenario/capacita_cliente.h"
#include "strumenti/lingua_scenario/correzioni.h"
#include "strumenti/lingua_scenario/suggerimenti_chilometrici.h"
#include "strumenti/lingua_scenario/testo_editor.h"

inline constexpr const char* kNomeServer = "lingua_scenario";

// The protocol's error codes.
inline constexpr int kJsonNonValido = -32700;
inline constexpr int kRichiestaNonValida = -32600;
inline constexpr int kMetodoSconosciuto = -32601;
inline constexpr int kParametriNonValidi = -32602;
inline constexpr int kNonIniziato = -32002;

// A request that gets an error answer with this code.
struct ErroreRichiesta : std::runtime_error {
  ErroreRichiesta(int c, const std::string& m) : std::runtime_error(m), codice(c) {}
  int codice;
};

nlohmann::json risposta(const nlohmann::json& id, nlohmann::json risultato);
nlohmann::json risposta_di_errore(const nlohmann::json& id, int codice,
                                  const std::string& messaggio);
nlohmann::json notifica_lsp(const std::string& metodo, nlohmann::json parametri);

// The path of a file: URI, its escapes decoded; none for another scheme.
std::optional<std::string> percorso_di(const std::string& uri);
std::string uri_di(const std::string& percorso);

// The byte place of the protocol's `position`; none on a line the text does not have. Throws
// json::exception when `position` is not one.
std::optional<PuntoByte> punto_byte(const TestoEditor& t, const nlohmann::json& posizione,
                                    UnitaPosizione u);
// The protocol's range of a byte stretch; (0,0)-(0,0) without a text.
nlohmann::json intervallo_lsp(const TestoEditor* t, const TrattoByte& b, UnitaPosizione u);

// The outline of the document at `uri`: a tree of DocumentSymbol for a client that takes one,
// else a flat list of SymbolInformation, each row naming its section as its container.
nlohmann::json simboli_lsp(const TestoEditor& t, const std::string& uri,
                           const std::vector<SimboloSorgente>& s, const CapacitaCliente& k);
// A snippet with a stop at each field for a client that takes snippets; else the keyword as
// plain text, the fields named in the item's detail.
nlohmann::json completamento_lsp(const std::vector<VoceCompletamento>& voci,
                                 const CapacitaCliente& k);
// The documentation in markdown or plain text, as the client asked.
nlohmann::json firma_lsp(const FirmaRiga& f, const CapacitaCliente& k);
nlohmann::json descrizione_lsp(const DescrizioneRiga& d, const CapacitaCliente& k);
nlohmann::json modifiche_lsp(const TestoEditor& t, const std::vector<ModificaTesto>& m,
                             UnitaPosizione u);

// An inlay hint after its field, apart from it by a space.
nlohmann::json suggerimento_lsp(const TestoEditor& t, const SuggerimentoCampo& h,
                                const CapacitaCliente& k);
// A quick fix of the document at `uri`, attached to its problem (`diagnostica`, in the
// protocol's shape).
nlohmann::json correzione_lsp(const TestoEditor& t, const std::string& uri, const Correzione& c,
                              nlohmann::json diagnostica, const CapacitaCliente& k);

// How the protocol names a file of a problem and counts in it (no text: a missing file).
struct DocumentoLsp {
  std::string uri;
  const TestoEditor* testo = nullptr;
};

// A problem in the protocol's shape: its place at the field it points to (a character without
// a byte: that one character), each file found through `documento`. Its notes are related
// information for a client that shows it; else each is a line of the message as the compiler
// prints a note, "FILE:LINE: message" with the file by its name.
nlohmann::json diagnostica_lsp(const Diagnosi& d,
                               const std::function<DocumentoLsp(const std::string&)>& documento,
                               const CapacitaCliente& k);
