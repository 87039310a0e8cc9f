#include "compiler/scrivi_binario.h"

#include <cstddef>

#include "compiler/scrittore_byte.h"

namespace {

constexpr size_t kByteVoceSenzaTesto = 34;
constexpr size_t kByteCella = 15;

}  // namespace

std::string_view immagine_tracciato(Tracciato& t) {
  return t.immagine();
}

std::string immagine_voci(const std::array<Voce, kNumeroVoci>& voci) {
  size_t totale = 0;
  for (const Voce& v : voci) {
    totale += kByteVoceSenzaTesto + v.testo.size();
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
  ScrittoreByte w;
  w.riserva(percorso.size() * kByteCella);
  for (const Cella& c : percorso) {
    w.u8(c.genere);
    w.i16(c.valore_1);
    w.i16(c.valore_2);
    w.i16(c.valore_3);
    w.i16(c.valore_4);
    w.u8(c.tempo_segnale);
    w.u8(c.avvicinamento);
    w.u8(c.galleria);
    w.u8(c.velocita_massima);
    w.u8(c.pendenza_cella);
    w.u8(c.aderenza_cella);
  }
  return std::move(w).prendi();
}

void scrivi_binario(piattaforma::Disco& disco, const std::string& cartella, const std::string& nome,
                    Tracciato& t) {
  disco.ricrea(disco.percorso_in(cartella, nome), t.immagine());
}

void scrivi_binario(piattaforma::Disco& disco, const std::string& cartella, const std::string& nome,
                    const std::array<Voce, kNumeroVoci>& voci) {
  disco.ricrea(disco.percorso_in(cartella, nome), immagine_voci(voci));
}

void scrivi_binario(piattaforma::Disco& disco, const std::string& cartella, const std::string& nome,
                    const std::vector<Cella>& percorso) {
  disco.ricrea(disco.percorso_in(cartella, nome), immagine_percorso(percorso));
}
