#include "compiler/scrivi_binario.h"

#include <cstddef>

#include "compiler/scrittore_byte.h"
#include "model/basso_prima.h"
#include "model/formato_percorso.h"
#include "model/formato_voci.h"

namespace {

constexpr size_t a(CampoCella c) {
  return static_cast<size_t>(scostamento(c));
}

}  // namespace

std::string_view immagine_tracciato(Tracciato& t) {
  return t.immagine();
}

std::string immagine_voci(const std::array<Voce, kNumeroVoci>& voci) {
  size_t totale = 0;
  for (const Voce& v : voci) {
    totale += static_cast<size_t>(kByteVoceSenzaTesto) + v.testo.size();
  }
  ScrittoreByte w;
  w.riserva(totale);
  for (const Voce& v : voci) {
    w.u8(v.categoria);
    w.i32(v.inizio_area);
    w.i32(v.fine_area);
    w.i32(v.progressiva_voce);
    w.u8(v.marca_1);
    w.testo(v.testo);
    w.i16(v.dato_1);
    w.i16(v.dato_2);
    w.i16(v.dato_3);
    w.i16(v.dato_4);
    w.i16(v.dato_5);
    w.u8(v.marca_2);
    w.u8(v.marca_3);
    w.u8(v.marca_4);
    w.u8(v.marca_5);
    w.i32(v.orario);
  }
  return std::move(w).prendi();
}

std::string immagine_percorso(const std::vector<Cella>& percorso) {
  // Every record has the same 15 bytes: each field goes straight to its offset.
  std::string byte(percorso.size() * static_cast<size_t>(kByteCella), '\0');
  char* r = byte.data();
  using enum CampoCella;
  for (const Cella& c : percorso) {
    r[a(genere)] = static_cast<char>(c.genere);
    scrivi_basso_prima(r + a(valore_1), static_cast<uint16_t>(c.valore_1));
    scrivi_basso_prima(r + a(valore_2), static_cast<uint16_t>(c.valore_2));
    scrivi_basso_prima(r + a(valore_3), static_cast<uint16_t>(c.valore_3));
    scrivi_basso_prima(r + a(valore_4), static_cast<uint16_t>(c.valore_4));
    r[a(tempo_segnale)] = static_cast<char>(c.tempo_segnale);
    r[a(avvicinamento)] = static_cast<char>(c.avvicinamento);
    r[a(galleria)] = static_cast<char>(c.galleria);
    r[a(velocita_massima)] = static_cast<char>(c.velocita_massima);
    r[a(pendenza_cella)] = static_cast<char>(c.pendenza_cella);
    r[a(aderenza_cella)] = static_cast<char>(c.aderenza_cella);
    r += kByteCella;
  }
  return byte;
}

void scrivi_binario(piattaforma::Sostituzione& insieme, const std::string& percorso, Tracciato& t) {
  insieme.prepara(percorso, t.immagine());
}

void scrivi_binario(piattaforma::Sostituzione& insieme, const std::string& percorso,
                    const std::array<Voce, kNumeroVoci>& voci) {
  insieme.prepara(percorso, immagine_voci(voci));
}

void scrivi_binario(piattaforma::Sostituzione& insieme, const std::string& percorso,
                    const std::vector<Cella>& percorso_celle) {
  insieme.prepara(percorso, immagine_percorso(percorso_celle));
}
