#include "compiler/lettore_campi.h"

#include "compiler/celle.h"
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

void LettoreCampi::inizia_campo() {
  riga_campo_ = riga_;
  colonna_campo_ = static_cast<int>(pos_ - inizio_riga_) + 1;
  if (alla_fine()) {
    fallisci("lettura oltre la fine del file");
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
        fallisci("numero troppo lungo");
      }
    }
    valore = valore * 10 + (testo_[pos_] - '0');
    con_cifre = true;
    ++pos_;
  }
  const bool finito = alla_fine() || testo_[pos_] == ' ' || testo_[pos_] == ',' || a_fine_riga();
  if (!finito || (negativo && !con_cifre)) {
    fallisci("valore non leggibile");
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

int32_t LettoreCampi::leggi_intero() {
  return in_32(leggi_numero());
}
int16_t LettoreCampi::leggi_intero_16() {
  return in_16(leggi_numero());
}
uint8_t LettoreCampi::leggi_intero_8() {
  return in_8(leggi_numero());
}

void LettoreCampi::fallisci(const std::string& perche) const {
  throw ErroreEsecuzione(perche + " alla riga " + std::to_string(riga_campo_) + ", colonna " +
                         std::to_string(colonna_campo_));
}
