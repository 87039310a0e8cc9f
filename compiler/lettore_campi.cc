#include "compiler/lettore_campi.h"

#include <cstdint>

#include "compiler/errore_esecuzione.h"

namespace {

// More digits than this cannot fit any target; reading stops counting there.
constexpr int kCifreMassime = 12;

}  // namespace

bool LettoreCampi::a_fine_riga() const {
  return testo_[pos_] == '\r' || testo_[pos_] == '\n';
}

void LettoreCampi::consuma_fine_riga() {
  if (testo_[pos_] == '\r' && pos_ + 1 < testo_.size() && testo_[pos_ + 1] == '\n') {
    ++pos_;
  }
  ++pos_;
  ++riga_;
  inizio_riga_ = pos_;
}

int LettoreCampi::colonna_prossimo_campo() const {
  size_t p = pos_;
  while (p < testo_.size() && testo_[p] == ' ') {
    ++p;
  }
  return static_cast<int>(p - inizio_riga_) + 1;
}

void LettoreCampi::inizia_campo() {
  riga_campo_ = riga_;
  colonna_campo_ = static_cast<int>(pos_ - inizio_riga_) + 1;
  if (alla_fine()) {
    fallisci(kMotivoFineDelFile);
  }
  while (!alla_fine() && testo_[pos_] == ' ') {
    ++pos_;
  }
  colonna_campo_ = static_cast<int>(pos_ - inizio_riga_) + 1;
}

std::string LettoreCampi::leggi_testo() {
  inizia_campo();
  const size_t inizio = pos_;
  while (!alla_fine() && testo_[pos_] != ',' && !a_fine_riga()) {
    ++pos_;
  }
  std::string campo = testo_.substr(inizio, pos_ - inizio);
  if (!alla_fine()) {
    if (testo_[pos_] == ',') {
      ++pos_;
    } else {
      consuma_fine_riga();
    }
  }
  return campo;
}

int64_t LettoreCampi::leggi_numero() {
  inizia_campo();
  const bool negativo = !alla_fine() && testo_[pos_] == '-';
  if (negativo) {
    ++pos_;
  }
  int64_t valore = 0;
  int cifre = 0;
  bool con_cifre = false;
  while (!alla_fine() && testo_[pos_] >= '0' && testo_[pos_] <= '9') {
    // Leading zeros do not count towards the length.
    if (valore != 0 || testo_[pos_] != '0') {
      if (++cifre > kCifreMassime) {
        fallisci(kMotivoFuoriIntervallo);
      }
    }
    valore = valore * 10 + (testo_[pos_] - '0');
    con_cifre = true;
    ++pos_;
  }
  const bool finito = alla_fine() || testo_[pos_] == ' ' || testo_[pos_] == ',' || a_fine_riga();
  if (!finito || (negativo && !con_cifre)) {
    fallisci(kMotivoNumeroAtteso);
  }
  while (!alla_fine() && testo_[pos_] == ' ') {
    ++pos_;
  }
  if (!alla_fine()) {
    if (testo_[pos_] == ',') {
      ++pos_;
    } else if (a_fine_riga()) {
      consuma_fine_riga();
    }
  }
  return negativo ? -valore : valore;
}

int64_t LettoreCampi::leggi_tra(int64_t minimo, int64_t massimo) {
  const int64_t valore = leggi_numero();
  if (valore < minimo || valore > massimo) {
    fallisci(kMotivoFuoriIntervallo);
  }
  return valore;
}

int32_t LettoreCampi::leggi_intero() {
  return static_cast<int32_t>(leggi_tra(INT32_MIN, INT32_MAX));
}
int16_t LettoreCampi::leggi_intero_16() {
  return static_cast<int16_t>(leggi_tra(INT16_MIN, INT16_MAX));
}
uint8_t LettoreCampi::leggi_intero_8() {
  return static_cast<uint8_t>(leggi_tra(0, UINT8_MAX));
}

void LettoreCampi::fallisci(std::string_view motivo) const {
  throw ErroreEsecuzione(motivo, riga_campo_, colonna_campo_);
}
