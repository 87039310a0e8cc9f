#include "compiler/tracciato_linea.h"

#include <algorithm>

#include "compiler/errore_esecuzione.h"

namespace {

struct Passo {
  double x1, y1, dx, dy;
};

using Punto = PuntoPiano;

// Point c is the next one the plan takes, and lies on it.
void controlla_punto(const Tracciato& t, int32_t c) {
  if (c < 2 || !t.contiene(c) || c != t.punti()) {
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
// `limite`; a point beyond the plan raises ErroreEsecuzione, after the points before it.
template <typename Calcolo>
bool avanza(Tracciato& t, int32_t& metro_tracciato, int64_t ultimo, int64_t limite,
            Calcolo calcola) {
  if (metro_tracciato > ultimo) {
    return true;
  }
  Passo p = passo_precedente(t, metro_tracciato);
  // The bounds are checked once, here, rather than at every metre: the points run up to the
  // last one asked for, stopping early at `limite` (or at the first point, when that already
  // lies past it, since each point is computed before its test) or at the end of the plan,
  // where the next point raises.
  const int64_t fine =
      std::min({ultimo, std::max(limite, int64_t{metro_tracciato}), int64_t{t.ultimo_punto()}});
  if (fine >= metro_tracciato) {
    t.aggiungi_reali(static_cast<int32_t>(fine - metro_tracciato + 1), [&p, calcola] {
      const Punto q = calcola(p);
      p = {q.x, q.y, q.x - p.x1, q.y - p.y1};
      return q;
    });
    metro_tracciato = static_cast<int32_t>(fine + 1);
  }
  if (metro_tracciato > limite) {
    return false;
  }
  if (metro_tracciato <= ultimo) {
    controlla_punto(t, metro_tracciato);  // past the plan: raises
  }
  return true;
}

// A lambda rather than a function, so that `avanza` inlines it into its loop.
constexpr auto dritto = [](const Passo& p) -> Punto {
  return passo_dritto(p.x1, p.y1, p.dx, p.dy);
};

}  // namespace

void inizia_tracciato(Scenario& s, int32_t& metro_tracciato) {
  if (!s.tracciato.contiene(1)) {
    throw ErroreEsecuzione(kMotivoPuntoFuori);
  }
  if (s.tracciato.punti() != 0) {
    throw ErroreEsecuzione("tracciato gia' iniziato");
  }
  s.tracciato.aggiungi_intero(0, 0);
  s.tracciato.aggiungi_intero(0, 1);
  metro_tracciato = 2;
}

bool traccia_curva(Scenario& s, int32_t& metro_tracciato, int32_t inizio, int32_t lunghezza,
                   double coefficiente_curva) {
  const int64_t fine = int64_t{inizio} + lunghezza;
  const auto in_curva = [k = coefficiente_curva](const Passo& p) -> Punto {
    return passo_in_curva(p.x1, p.y1, p.dx, p.dy, k);
  };
  return avanza(s.tracciato, metro_tracciato, inizio, kUltimoPuntoDelTracciato, dritto) &&
         avanza(s.tracciato, metro_tracciato, fine, kUltimoPuntoDelTracciato, in_curva);
}

void chiudi_tracciato(Scenario& s, int32_t& metro_tracciato) {
  avanza(s.tracciato, metro_tracciato, int64_t{s.lunghezza_estesa} - 2, INT64_MAX, dritto);
}
