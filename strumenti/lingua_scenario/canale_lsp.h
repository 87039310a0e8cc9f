// The framing of the editor's protocol: a header of "Name: value" lines ended by an empty line,
// whose Content-Length gives the byte length of the JSON body after it; and how large a message
// and a source text the server takes.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

// The longest source text the server takes from the editor, in UTF-8 bytes. The longest line
// a source may give (1,000 km), written at the density of the built-in scenario, takes about
// 120 KB in its line source and 60 KB in its train source: 4 MiB is thirty times that. A text
// beyond it is no scenario but a file opened by mistake, whose every compile costs seconds.
inline constexpr size_t kTestoMassimo = size_t{4} << 20;

// The longest message body: a source text in JSON, where each line end "\r\n" takes four
// characters, is less than twice as long. A longer body is skipped without being kept, so that
// it costs no more than reading its bytes.
inline constexpr size_t kCorpoMassimo = 2 * kTestoMassimo;

// A header line longer than this is no header: the rest of it is skipped.
inline constexpr size_t kRigaIntestazioneMassima = 1024;

struct MessaggioLetto {
  // The body, or none when the header had no usable Content-Length or the body was too long.
  std::optional<std::string> corpo;
  // The length of a body skipped for being longer than kCorpoMassimo; 0 otherwise.
  size_t scartato = 0;
};

// The next message; none when the input has ended.
std::optional<MessaggioLetto> leggi_messaggio(std::istream& in);

// Whether more input is there to be read at once, without waiting; false when the stream
// cannot tell.
bool altro_in_attesa(std::istream& in);

void scrivi_messaggio(std::ostream& out, const std::string& corpo);
