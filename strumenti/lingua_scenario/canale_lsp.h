// The framing of the editor's protocol: a header of "Name: value" lines ended by an empty line,
// whose Content-Length gives the byte length of the JSON body after it.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

// A body longer than this is read and dropped: no source is anywhere near it.
inline constexpr size_t kCorpoMassimo = size_t{256} << 20;

struct MessaggioLetto {
  // The body, or none when the header had no usable Content-Length or the body was too long.
  std::optional<std::string> corpo;
};

// The next message; none when the input has ended.
std::optional<MessaggioLetto> leggi_messaggio(std::istream& in);

void scrivi_messaggio(std::ostream& out, const std::string& corpo);
