#include "compiler/tracciato_linea.h"

#include <string>

#include "compiler/errore_esecuzione.h"

namespace {

constexpr int32_t kUltimoPuntoAmmesso = 1000000;

struct Passo {
  double x1, y1, dx, dy;
};

// The last point before c and the step that led to it.
Passo passo_precedente(const Tracciato& t, int32_t c) {
  if (c < 2 || !t.contiene(c)) {
    throw ErroreEsecuzione("punto " + std::to_string(c) + " fuori dal tracciato");
  }
  const double x1 = t.valore(c - 1, 0);
  const double y1 = t.valore(c - 1, 1);
  return {x1, y1, x1 - t.valore(c - 2, 0), y1 - t.valore(c - 2, 1)};
}

void passo_dritto(Tracciato& t, int32_t c) {
  const Passo p = passo_precedente(t, c);
  t.imposta_reale(c, 0, p.x1 + p.dx);
  t.imposta_reale(c, 1, p.y1 + p.dy);
}

void passo_in_curva(Tracciato& t, int32_t c, double k) {
  const Passo p = passo_precedente(t, c);
  t.imposta_reale(c, 0, p.x1 + (p.dx + k * p.dy));
  t.imposta_reale(c, 1, p.y1 + (p.dy - k * p.dx));
}

}  // namespace

void inizia_tracciato(Scenario& s, int32_t& metro_tracciato) {
  if (!s.tracciato.contiene(1)) {
    throw ErroreEsecuzione("tracciato troppo corto per i due punti iniziali");
  }
  s.tracciato.imposta_intero(0, 0, 0);
  s.tracciato.imposta_intero(0, 1, 0);
  s.tracciato.imposta_intero(1, 0, 0);
  s.tracciato.imposta_intero(1, 1, 1);
  metro_tracciato = 2;
}

bool traccia_curva(Scenario& s, int32_t& metro_tracciato, int32_t inizio, int32_t lunghezza,
                   double coefficiente_curva) {
  const int64_t fine = int64_t{inizio} + lunghezza;
  while (metro_tracciato <= inizio) {
    passo_dritto(s.tracciato, metro_tracciato);
    if (++metro_tracciato > kUltimoPuntoAmmesso) {
      return false;
    }
  }
  while (metro_tracciato <= fine) {
    passo_in_curva(s.tracciato, metro_tracciato, coefficiente_curva);
    if (++metro_tracciato > kUltimoPuntoAmmesso) {
      return false;
    }
  }
  return true;
}

void chiudi_tracciato(Scenario& s, int32_t& metro_tracciato) {
  while (int64_t{metro_tracciato} <= int64_t{s.lunghezza_estesa} - 2) {
    passo_dritto(s.tracciato, metro_tracciato);
    ++metro_tracciato;
  }
}
