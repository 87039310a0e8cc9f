// The identity (scenario name, train number) under which an author's two sources are compiled.
// Sources that follow the builder's names (NOME_linea.txt and NOME_NUMERO-.txt, the same NOME)
// give it themselves; otherwise the author names it, and what is missing is said in words.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "model/identita.h"

// The identity for the sources at `linea` and `treno`: a name given on the command line wins;
// a name not given comes from the file names. Both are UTF-8, and must hold only letters that
// Windows-1252 has. When one of the two cannot be found, or holds another letter, the text
// that tells the author what to give.
std::variant<Identita, std::string> identita_delle_sorgenti(
    const std::string& linea, const std::string& treno,
    const std::optional<std::string>& scenario_dato, const std::optional<std::string>& treno_dato);
