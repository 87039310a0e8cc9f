#include "model/tracciato.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr size_t kByteIntero = byte_numero(Etichetta::intero_16);
constexpr size_t kByteVuoto = byte_numero(Etichetta::vuoto);

}  // namespace

Tracciato::Tracciato(const Tracciato& altro)
    : ultimo_punto_(altro.ultimo_punto_),
      punti_(altro.punti_),
      interi_(altro.interi_),
      riempiti_(altro.riempiti_),
      inizio_y_(altro.inizio_y_),
      // Room for both columns where they lie, not for storage the other plan keeps spare.
      capacita_(altro.esiste() ? 2 * altro.inizio_y_ : 0) {
  if (altro.esiste()) {
    byte_ = std::make_unique_for_overwrite<char[]>(capacita_);
    std::memcpy(byte_.get(), altro.byte_.get(), riempiti_);
    std::memcpy(byte_.get() + inizio_y_, altro.byte_.get() + inizio_y_, riempiti_);
  }
}

Tracciato& Tracciato::operator=(const Tracciato& altro) {
  if (this != &altro) {
    *this = Tracciato(altro);
  }
  return *this;
}

void Tracciato::crea(int32_t ultimo_punto) {
  if (ultimo_punto < 0) {
    throw std::invalid_argument("tracciato con limite negativo");
  }
  // The x column of the usual plan: two integers, reals up to the last point but two, and the
  // last two empty.
  const auto tutti = static_cast<size_t>(ultimo_punto) + 1;
  const size_t interi = std::min<size_t>(2, tutti);
  const size_t reali = ultimo_punto > 3 ? static_cast<size_t>(ultimo_punto) - 3 : 0;
  const size_t colonna =
      interi * kByteIntero + reali * kByteReale + (tutti - interi - reali) * kByteVuoto;
  // Left unwritten: every byte of the image is written before it is handed out, and a line of
  // 1000 km would otherwise have 20 MB cleared only to be written over.
  if (capacita_ < 2 * colonna) {
    byte_.reset();  // the old storage goes first: the two are never held at once
    byte_ = std::make_unique_for_overwrite<char[]>(2 * colonna);
    capacita_ = 2 * colonna;
  }
  inizio_y_ = colonna;
  ultimo_punto_ = ultimo_punto;
  punti_ = 0;
  interi_ = 0;
  riempiti_ = 0;
}

void Tracciato::svuota() {
  ultimo_punto_ = -1;
  punti_ = 0;
  interi_ = 0;
  riempiti_ = 0;
  inizio_y_ = 0;
}

size_t Tracciato::posto(int32_t punto, int colonna) const {
  const size_t inizio = colonna == 0 ? 0 : inizio_y_;
  const auto p = static_cast<size_t>(punto);
  const auto i = static_cast<size_t>(interi_);
  return inizio + (p < i ? p * kByteIntero : i * kByteIntero + (p - i) * kByteReale);
}

Etichetta Tracciato::etichetta(int32_t punto, int colonna) const {
  if (!contiene(punto) || colonna < 0 || colonna > 1) {
    fuori_dal_tracciato(punto);
  }
  if (punto >= punti_) {
    return Etichetta::vuoto;
  }
  return static_cast<Etichetta>(leggi_basso_prima<uint16_t>(byte_.get() + posto(punto, colonna)));
}

double Tracciato::valore(int32_t punto, int colonna) const {
  const Etichetta e = etichetta(punto, colonna);
  const char* v = byte_.get() + posto(punto, colonna) + kByteEtichetta;
  switch (e) {
    case Etichetta::intero_16:
      return static_cast<int16_t>(leggi_basso_prima<uint16_t>(v));
    case Etichetta::reale_64:
      return std::bit_cast<double>(leggi_basso_prima<uint64_t>(v));
    case Etichetta::vuoto:
      break;
  }
  return 0.0;
}

void Tracciato::aggiungi_intero(int16_t x, int16_t y) {
  if (punti_ > ultimo_punto_) {
    fuori_dal_tracciato(punti_);
  }
  if (interi_ != punti_) {
    throw std::logic_error("punto intero " + std::to_string(punti_) + " dopo un punto reale");
  }
  if (riempiti_ + kByteIntero > inizio_y_) {
    fai_spazio();
  }
  metti(byte_.get() + riempiti_, Etichetta::intero_16, static_cast<uint16_t>(x));
  metti(byte_.get() + inizio_y_ + riempiti_, Etichetta::intero_16, static_cast<uint16_t>(y));
  riempiti_ += kByteIntero;
  ++punti_;
  ++interi_;
}

void Tracciato::fai_spazio() {
  // At most one move while the plan is built.
  const auto dopo = static_cast<size_t>(ultimo_punto_) + 1 - static_cast<size_t>(punti_);
  sposta_y(riempiti_ + dopo * kByteReale);
}

void Tracciato::sposta_y(size_t inizio_y) {
  if (2 * inizio_y > capacita_) {
    auto nuovi = std::make_unique_for_overwrite<char[]>(2 * inizio_y);
    std::memcpy(nuovi.get(), byte_.get(), riempiti_);
    std::memcpy(nuovi.get() + inizio_y, byte_.get() + inizio_y_, riempiti_);
    byte_ = std::move(nuovi);
    capacita_ = 2 * inizio_y;
  } else {
    std::memmove(byte_.get() + inizio_y, byte_.get() + inizio_y_, riempiti_);
  }
  inizio_y_ = inizio_y;
}

std::string_view Tracciato::immagine() {
  if (!esiste()) {
    return {};
  }
  const auto vuoti = static_cast<size_t>(ultimo_punto_) + 1 - static_cast<size_t>(punti_);
  const size_t colonna = riempiti_ + vuoti * kByteVuoto;
  if (colonna != inizio_y_) {
    sposta_y(colonna);
  }
  // The empties: a zero tag each, at the end of both columns.
  std::memset(byte_.get() + riempiti_, 0, vuoti * kByteVuoto);
  std::memset(byte_.get() + inizio_y_ + riempiti_, 0, vuoti * kByteVuoto);
  return {byte_.get(), 2 * inizio_y_};
}

void Tracciato::fuori_dal_tracciato(int64_t punto) {
  throw std::out_of_range("punto " + std::to_string(punto) + " fuori dal tracciato");
}
