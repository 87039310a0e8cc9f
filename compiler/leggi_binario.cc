#include "compiler/leggi_binario.h"

#include <bit>
#include <utility>

#include "compiler/scrittore_byte.h"

namespace {

// Little-endian numbers from an explicit position of the bytes; the caller has checked that
// they are there.
class LettoreByte {
 public:
  explicit LettoreByte(std::string_view b) : b_(b) {}

  size_t posizione() const { return pos_; }
  size_t restanti() const { return b_.size() - pos_; }

  uint8_t u8() { return static_cast<uint8_t>(leggi_basso_prima(1)); }
  uint16_t u16() { return static_cast<uint16_t>(leggi_basso_prima(2)); }
  int16_t i16() { return static_cast<int16_t>(u16()); }
  int32_t i32() { return static_cast<int32_t>(static_cast<uint32_t>(leggi_basso_prima(4))); }
  double f64() { return std::bit_cast<double>(leggi_basso_prima(8)); }
  std::string_view byte(size_t n) {
    const std::string_view t = b_.substr(pos_, n);
    pos_ += n;
    return t;
  }

 private:
  uint64_t leggi_basso_prima(size_t n) {
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) {
      v |= uint64_t{static_cast<uint8_t>(b_[pos_ + i])} << (8 * i);
    }
    pos_ += n;
    return v;
  }

  std::string_view b_;
  size_t pos_ = 0;
};

std::string byte_restanti(size_t n) {
  return n == 1 ? "1 byte" : std::to_string(n) + " byte";
}

DifettoBinario troncato(int64_t byte, int64_t elemento, std::string_view campo, int64_t larghezza,
                        size_t restanti) {
  return {byte, elemento, std::string(campo),
          "il file finisce dentro il campo: servono " + std::to_string(larghezza) +
              " byte, ne restano " + std::to_string(restanti)};
}

// Reads one entry record into `v`. Returns false, with the fault, when the file ends first.
bool leggi_voce(LettoreByte& in, int64_t k, Voce& v, std::vector<DifettoBinario>& difetti) {
  const auto c = [](CampoVoce campo) { return kCampiVoce[static_cast<size_t>(campo)]; };
  int64_t lunghezza_testo = 0;
  for (size_t i = 0; i < kCampiVoce.size(); ++i) {
    const auto campo = static_cast<CampoVoce>(i);
    const int64_t larghezza = campo == CampoVoce::testo ? lunghezza_testo : c(campo).larghezza;
    if (in.restanti() < static_cast<size_t>(larghezza)) {
      if (campo == CampoVoce::testo) {
        difetti.push_back({static_cast<int64_t>(in.posizione()) - 2, k, "testo",
                           "il testo dichiara " + byte_restanti(static_cast<size_t>(larghezza)) +
                               ", ne restano " + std::to_string(in.restanti())});
      } else {
        difetti.push_back(troncato(static_cast<int64_t>(in.posizione()), k, c(campo).nome,
                                   larghezza, in.restanti()));
      }
      return false;
    }
    switch (campo) {
      case CampoVoce::categoria:
        v.categoria = in.u8();
        break;
      case CampoVoce::inizio_area:
        v.inizio_area = in.i32();
        break;
      case CampoVoce::fine_area:
        v.fine_area = in.i32();
        break;
      case CampoVoce::progressiva_voce:
        v.progressiva_voce = in.i32();
        break;
      case CampoVoce::marca_1:
        v.marca_1 = in.u8();
        break;
      case CampoVoce::lunghezza_testo:
        lunghezza_testo = in.u16();
        break;
      case CampoVoce::testo:
        v.testo = std::string(in.byte(static_cast<size_t>(lunghezza_testo)));
        break;
      case CampoVoce::dato_1:
        v.dato_1 = in.i16();
        break;
      case CampoVoce::dato_2:
        v.dato_2 = in.i16();
        break;
      case CampoVoce::dato_3:
        v.dato_3 = in.i16();
        break;
      case CampoVoce::dato_4:
        v.dato_4 = in.i16();
        break;
      case CampoVoce::dato_5:
        v.dato_5 = in.i16();
        break;
      case CampoVoce::marca_2:
        v.marca_2 = in.u8();
        break;
      case CampoVoce::marca_3:
        v.marca_3 = in.u8();
        break;
      case CampoVoce::marca_4:
        v.marca_4 = in.u8();
        break;
      case CampoVoce::marca_5:
        v.marca_5 = in.u8();
        break;
      case CampoVoce::orario:
        v.orario = in.i32();
        break;
    }
  }
  return true;
}

}  // namespace

std::string_view nome_campo(CampoVoce c) {
  return kCampiVoce[static_cast<size_t>(c)].nome;
}

std::string_view nome_campo(CampoCella c) {
  return kCampiCella[static_cast<size_t>(c)].nome;
}

LetturaTracciato leggi_tracciato(std::string_view byte) {
  LetturaTracciato l;
  // First the tags alone: how many whole numbers there are decides where x ends and y begins.
  std::vector<Etichetta> etichette;
  etichette.reserve(byte.size() / 10 + 1);
  size_t pos = 0;
  while (pos < byte.size()) {
    const auto elemento = static_cast<int64_t>(etichette.size());
    if (byte.size() - pos < 2) {
      l.difetti.push_back(
          troncato(static_cast<int64_t>(pos), elemento, "etichetta", 2, byte.size() - pos));
      break;
    }
    const auto tag = static_cast<uint16_t>(static_cast<uint8_t>(byte[pos]) |
                                           static_cast<uint8_t>(byte[pos + 1]) << 8);
    Etichetta e = Etichetta::vuoto;
    if (tag == static_cast<uint16_t>(Etichetta::intero_16)) {
      e = Etichetta::intero_16;
    } else if (tag == static_cast<uint16_t>(Etichetta::reale_64)) {
      e = Etichetta::reale_64;
    } else if (tag != static_cast<uint16_t>(Etichetta::vuoto)) {
      l.difetti.push_back({static_cast<int64_t>(pos), elemento, "etichetta",
                           "etichetta " + std::to_string(tag) +
                               ": un numero ne ha 0 (vuoto), 2 (intero) o 5 (reale)"});
      break;
    }
    const auto larghezza = static_cast<size_t>(byte_numero(e));
    if (byte.size() - pos < larghezza) {
      l.difetti.push_back(troncato(static_cast<int64_t>(pos + 2), elemento, "valore",
                                   static_cast<int64_t>(larghezza - 2), byte.size() - pos - 2));
      break;
    }
    etichette.push_back(e);
    pos += larghezza;
  }
  if (etichette.size() % 2 != 0) {
    l.difetti.push_back({static_cast<int64_t>(pos), -1, "",
                         "il file ha " + std::to_string(etichette.size()) +
                             " numeri, un numero dispari: le colonne x e y non si dividono"});
  }
  const size_t punti = etichette.size() / 2;
  if (punti == 0) {
    return l;
  }
  l.tracciato.crea(static_cast<int32_t>(punti - 1));
  LettoreByte in(byte);
  for (size_t i = 0; i < 2 * punti; ++i) {
    const auto punto = static_cast<int32_t>(i % punti);
    const int colonna = i < punti ? 0 : 1;
    in.u16();
    if (etichette[i] == Etichetta::intero_16) {
      l.tracciato.imposta_intero(punto, colonna, in.i16());
    } else if (etichette[i] == Etichetta::reale_64) {
      l.tracciato.imposta_reale(punto, colonna, in.f64());
    }
  }
  return l;
}

LetturaVoci leggi_voci(std::string_view byte) {
  LetturaVoci l;
  l.inizio.fill(-1);
  LettoreByte in(byte);
  for (int64_t k = 0; k < kNumeroVoci; ++k) {
    const auto inizio = static_cast<int64_t>(in.posizione());
    Voce v;
    if (!leggi_voce(in, k, v, l.difetti)) {
      l.voci[static_cast<size_t>(k)] = std::move(v);
      return l;
    }
    l.voci[static_cast<size_t>(k)] = std::move(v);
    l.inizio[static_cast<size_t>(k)] = inizio;
  }
  if (in.restanti() > 0) {
    l.difetti.push_back({static_cast<int64_t>(in.posizione()), -1, "",
                         byte_restanti(in.restanti()) + " dopo la voce " +
                             std::to_string(kNumeroVoci - 1) + ", l'ultima"});
  }
  return l;
}

LetturaPercorso leggi_percorso(std::string_view byte) {
  LetturaPercorso l;
  const size_t celle = byte.size() / static_cast<size_t>(kByteCella);
  l.percorso.resize(celle);
  LettoreByte in(byte);
  for (Cella& c : l.percorso) {
    c.genere = in.u8();
    c.valore_1 = in.i16();
    c.valore_2 = in.i16();
    c.valore_3 = in.i16();
    c.valore_4 = in.i16();
    c.tempo_segnale = in.u8();
    c.avvicinamento = in.u8();
    c.galleria = in.u8();
    c.velocita_massima = in.u8();
    c.pendenza_cella = in.u8();
    c.aderenza_cella = in.u8();
  }
  if (in.restanti() > 0) {
    l.difetti.push_back({static_cast<int64_t>(in.posizione()), static_cast<int64_t>(celle), "",
                         "cella incompleta: " + byte_restanti(in.restanti()) + " dei " +
                             std::to_string(kByteCella) + " di una cella"});
  }
  return l;
}

std::string immagine_tracciato_letto(const TracciatoLetto& t) {
  ScrittoreByte w;
  for (size_t i = 0; i < t.etichette().size(); ++i) {
    const Etichetta e = t.etichette()[i];
    w.u16(static_cast<uint16_t>(e));
    if (e == Etichetta::intero_16) {
      w.i16(static_cast<int16_t>(t.valori()[i]));
    } else if (e == Etichetta::reale_64) {
      w.f64(t.valori()[i]);
    }
  }
  return std::move(w).prendi();
}
