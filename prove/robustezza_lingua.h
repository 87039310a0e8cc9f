// What must hold when the language server is handed any bytes as its input, however
// malformed: it never throws nor ends early, and everything it writes is framed messages of
// JSON, each an answer, a request to the client or a notification. Its folder holds the built-in
// pair, so that a source opened there is compiled with the other. Used by the fuzz target and by
// the test that replays its corpus.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// The folder of the built-in pair, as the server sees it.
inline constexpr const char* kCartellaLingua = "/esempio";

// Serves `ingresso` whole, the problems published after every third message or when the
// input has been read (as a client's pauses would have them). Returns an empty text when
// everything holds, else what did not.
std::string servi_e_verifica(std::string_view ingresso);

// What is wrong with one message the server wrote: not JSON-RPC 2.0, an answer with neither or
// both of result and error, an error without its code, a request to the client or a
// notification without its method or with a result, a publication without its URI and
// problems. Empty when nothing is.
std::string verifica_messaggio_scritto(const nlohmann::json& m);
