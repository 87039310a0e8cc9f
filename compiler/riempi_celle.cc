#include "compiler/riempi_celle.h"

#include "compiler/celle.h"
#include "compiler/registratori.h"

namespace {

uint8_t pendenza_in_cella(int32_t pendenza) {
  return in_8(int64_t{pendenza} + kPendenzaInCella);
}
uint8_t velocita_in_cella(int32_t velocita) {
  return in_8(dividi_arrotonda(velocita, kPassoVelocita));
}
uint8_t aderenza_in_cella(int32_t aderenza) {
  return basso_8(aderenza);
}

// One cell with the previous row's value; false when the layer stops short of the last cell.
bool riempi_una(Scenario& s, Riempimento& r) {
  if (r.salta_ultima_cella && r.posizione >= s.ultima_cella) {
    return false;
  }
  cella(s, r.posizione).*r.campo = r.in_cella(r.precedente);
  ++r.posizione;
  return true;
}

// Fills at least one cell, then on while the fill position is below `limite`.
void riempi_fino_a(Scenario& s, Riempimento& r, int64_t limite) {
  while (riempi_una(s, r) && r.posizione < limite) {
  }
}

}  // namespace

Riempimento riempimento_pendenze() {
  return {&Cella::pendenza_cella, pendenza_in_cella};
}
Riempimento riempimento_velocita() {
  return {&Cella::velocita_massima, velocita_in_cella, true};
}
Riempimento riempimento_aderenze() {
  return {&Cella::aderenza_cella, aderenza_in_cella};
}

void riempi_celle(Scenario& s, Riempimento& r, int32_t posizione, int32_t valore) {
  const int64_t n = cella_di(posizione);
  if (n > 0) {
    riempi_fino_a(s, r, n);
  }
  r.precedente = valore;
}

void riempi_coda(Scenario& s, Riempimento& r) {
  riempi_fino_a(s, r, int64_t{s.ultima_cella} - 2);
}
