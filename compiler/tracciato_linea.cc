#include "compiler/tracciato_linea.h"

#include "compiler/errore_esecuzione.h"

namespace {

struct Passo {
  double x1, y1, dx, dy;
};

struct Punto {
  double x, y;
};

void controlla_punto(const Tracciato& t, int32_t c) {
  if (c < 2 || !t.contiene(c)) {
    throw ErroreEsecuzione(kMotivoPuntoFuori);
  }
}

// The last point before c and the step that led to it.
Passo passo_precedente(const Tracciato& t, int32_t c) {
  controlla_punto(t, c);
  const double x1 = t.valore(c - 1, 0);
  const double y1 = t.valore(c - 1, 1);
  return {x1, y1, x1 - t.valore(c - 2, 0), y1 - t.valore(c - 2, 1)};
}

// Computes the points from `metro_tracciato` up to `ultimo`, each by `calcola` from the one
// before and its step. The last point and its step are carried from one metre to the next
// rather than read back from the plan: they are the same values, and the plan is computed
// without a round trip through memory at every metre. False when `metro_tracciato` passes
// `limite`.
template <typename Calcolo>
bool avanza(Tracciato& t, int32_t& metro_tracciato, int64_t ultimo, int64_t limite,
            Calcolo calcola) {
  if (metro_tracciato > ultimo) {
    return true;
  }
  Passo p = passo_precedente(t, metro_tracciato);
  while (metro_tracciato <= ultimo) {
    controlla_punto(t, metro_tracciato);
    const auto [x, y] = calcola(p);
    t.imposta_reale(metro_tracciato, 0, x);
    t.imposta_reale(metro_tracciato, 1, y);
    p = {x, y, x - p.x1, y - p.y1};
    if (++metro_tracciato > limite) {
      return false;
    }
  }
  return true;
}

Punto dritto(const Passo& p) {
  return {p.x1 + p.dx, p.y1 + p.dy};
}

}  // namespace

void inizia_tracciato(Scenario& s, int32_t& metro_tracciato) {
  if (!s.tracciato.contiene(1)) {
    throw ErroreEsecuzione(kMotivoPuntoFuori);
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
  const auto in_curva = [k = coefficiente_curva](const Passo& p) -> Punto {
    return {p.x1 + (p.dx + k * p.dy), p.y1 + (p.dy - k * p.dx)};
  };
  return avanza(s.tracciato, metro_tracciato, inizio, kUltimoPuntoDelTracciato, dritto) &&
         avanza(s.tracciato, metro_tracciato, fine, kUltimoPuntoDelTracciato, in_curva);
}

void chiudi_tracciato(Scenario& s, int32_t& metro_tracciato) {
  avanza(s.tracciato, metro_tracciato, int64_t{s.lunghezza_estesa} - 2, INT64_MAX, dritto);
}
