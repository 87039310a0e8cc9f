// Everything the inspector read, as one JSON document: the identity and the files, the faults
// found, the summary, and the three arrays whole (the 87 entries field by field, every cell,
// both columns of the plan with null for an empty coordinate). Texts from the files are given
// in UTF-8; the identity as it names the files (dump with error_handler_t::replace).
#pragma once

#include <nlohmann/json.hpp>

#include "strumenti/ispezione/ispezione.h"
#include "strumenti/ispezione/riepilogo.h"

nlohmann::ordered_json json_riepilogo(const Riepilogo& r);

nlohmann::ordered_json json_ispezione(const Ispezione& i, const Riepilogo& r);
