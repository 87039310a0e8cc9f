#include "compiler/scrivi_binario.h"

#include <cstddef>
#include <span>

#include "compiler/scrittore_byte.h"

namespace {

constexpr size_t kByteEtichetta = 2;
constexpr size_t kByteVoceSenzaTesto = 34;
constexpr size_t kByteCella = 15;

size_t byte_valore(Etichetta e) {
  switch (e) {
    case Etichetta::vuoto:
      return 0;
    case Etichetta::intero_16:
      return 2;
    case Etichetta::reale_64:
      return 8;
  }
  return 0;
}

}  // namespace

std::string immagine_tracciato(const Tracciato& t) {
  const std::span<const Etichetta> etichette = t.etichette();
  const std::span<const double> valori = t.valori();
  size_t totale = 0;
  for (const Etichetta e : etichette) {
    totale += kByteEtichetta + byte_valore(e);
  }
  ScrittoreByte w;
  w.riserva(totale);
  for (size_t i = 0; i < etichette.size(); ++i) {
    const Etichetta e = etichette[i];
    w.u16(static_cast<uint16_t>(e));
    if (e == Etichetta::intero_16) {
      w.i16(static_cast<int16_t>(valori[i]));
    } else if (e == Etichetta::reale_64) {
      w.f64(valori[i]);
    }
  }
  return std::move(w).prendi();
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

void scrivi_binario(piattaforma::Sostituzione& insieme, const std::string& percorso,
                    const Tracciato& t) {
  insieme.prepara(percorso, immagine_tracciato(t));
}

void scrivi_binario(piattaforma::Sostituzione& insieme, const std::string& percorso,
                    const std::array<Voce, kNumeroVoci>& voci) {
  insieme.prepara(percorso, immagine_voci(voci));
}

void scrivi_binario(piattaforma::Sostituzione& insieme, const std::string& percorso,
                    const std::vector<Cella>& percorso_celle) {
  insieme.prepara(percorso, immagine_percorso(percorso_celle));
}
