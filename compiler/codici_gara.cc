#include "compiler/codici_gara.h"

#include <array>
#include <stdexcept>

#include "compiler/errore.h"

namespace {

constexpr std::string_view kCoda = "ppqqrrssttuuvvzzbbddffhhmm";
constexpr size_t kByteDelCodice = 25;

uint8_t minuscola(uint8_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
    return static_cast<uint8_t>(c + 0x20);
  }
  switch (c) {
    case 0x8A:  // S caron
    case 0x8C:  // OE ligature
    case 0x8E:  // Z caron
      return static_cast<uint8_t>(c + 0x10);
    case 0x9F:  // Y diaeresis
      return 0xFF;
    default:
      return c;
  }
}

// The values of the first 25 bytes of the code text; the suffix makes it long enough.
std::array<uint8_t, kByteDelCodice> byte_del_codice(const Scenario& s) {
  const std::string testo = testo_del_codice(s);
  std::array<uint8_t, kByteDelCodice> a{};
  for (size_t i = 0; i < a.size(); ++i) {
    a[i] = static_cast<uint8_t>(testo[i]);
  }
  return a;
}

}  // namespace

std::string minuscolo_1252(std::string_view testo) {
  std::string r(testo);
  for (char& c : r) {
    c = static_cast<char>(minuscola(static_cast<uint8_t>(c)));
  }
  return r;
}

std::string testo_del_codice(const Scenario& s) {
  return minuscolo_1252(s.voci[kVoceRipetizione].testo + s.voci[kVoceScenario].testo) +
         std::string(kCoda);
}

int16_t codice_gara_og(const Scenario& s) {
  int32_t somma = 0;  // at most 25 x 255
  for (uint8_t a : byte_del_codice(s)) {
    somma += a;
  }
  return static_cast<int16_t>(somma);
}

int32_t codice_gara_st(const Scenario& s) {
  int32_t somma = 0;  // at most 255 x 325
  int32_t peso = 1;
  for (uint8_t a : byte_del_codice(s)) {
    somma += peso * a;
    ++peso;
  }
  return somma;
}

std::optional<int32_t> timbra(Scenario& s) {
  Voce& voce = s.voci[kVoceScenario];
  Cella& cella = s.percorso.at(1);
  if (voce.dato_1 != 0 || cella.valore_1 != 0) {
    return kConflittoMarche;
  }
  voce.dato_1 = kMarcaVoce;
  cella.valore_1 = kMarcaCella;
  if (voce.orario != 0 || cella.valore_2 != 0) {
    return kConflittoCodici;
  }
  voce.orario = codice_gara_st(s);
  cella.valore_2 = codice_gara_og(s);
  return std::nullopt;
}

void applica_timbri(Scenario& s) {
  if (s.percorso.size() < 2) {
    throw std::runtime_error(testo_senza_cella_1(s));
  }
  if (const std::optional<int32_t> conflitto = timbra(s)) {
    errore(std::to_string(*conflitto));
  }
}

std::string testo_senza_cella_1(const Scenario& s) {
  return "il percorso ha " + std::to_string(s.percorso.size()) +
         " celle: manca la cella 1 per i timbri";
}
