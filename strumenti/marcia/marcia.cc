#include "strumenti/marcia/marcia.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/formato_percorso.h"
#include "strumenti/marcia/punti_orario.h"
#include "strumenti/marcia/tetti.h"

namespace {

constexpr double kKmhPerMs = 3.6;
constexpr double kPerMille = 1000;
constexpr double kInfinito = std::numeric_limits<double>::infinity();

// The train on the line, per kilogram of its mass with the rotating masses: the effort and
// the resistance as accelerations (m/s^2), the gradient's share cell by cell.
struct Dinamica {
  double sforzo = 0;              // the maximum effort's acceleration
  double potenza = 0;             // W/kg: the power's acceleration is potenza / v
  double v2_potenza = 0;          // (m/s)^2 above which the power, not the effort, is the limit
  double resistenza_v2 = 0;       // the quadratic resistance, per (m/s)^2
  std::vector<double> costante;   // the constant resistance and the gradient, by cell
  std::vector<double> frenatura;  // the braking deceleration, by cell

  // The acceleration at speed sqrt(v2) in cell k.
  double accelerazione(double v2, size_t k) const {
    const double trazione = v2 <= v2_potenza ? sforzo : potenza / std::sqrt(v2);
    return trazione - resistenza_v2 * v2 + costante[k];
  }
};

Dinamica dinamica(const ParametriMarcia& p, double massa_kg, double massa_frenata_percento,
                  const std::vector<Cella>& percorso) {
  Dinamica d;
  const double inerzia = p.fattore_masse_rotanti * massa_kg;
  const double sforzo_n = p.sforzo_massimo_kn * 1000;
  const double potenza_w = p.potenza_kw * 1000;
  d.sforzo = sforzo_n / inerzia;
  d.potenza = potenza_w / inerzia;
  d.v2_potenza = (potenza_w / sforzo_n) * (potenza_w / sforzo_n);
  // R / (rho M) = g (c + q V^2) / 1000 / rho, with V = 3.6 v.
  d.resistenza_v2 = p.gravita_ms2 * p.resistenza_quadratica * kKmhPerMs * kKmhPerMs / kPerMille /
                    p.fattore_masse_rotanti;
  const double resistenza_0 =
      p.gravita_ms2 * p.resistenza_costante / kPerMille / p.fattore_masse_rotanti;
  const double frenatura = std::min(
      p.frenatura_massima_ms2, p.frenatura_per_massa_frenata_ms2 * massa_frenata_percento / 100);
  d.costante.resize(percorso.size());
  d.frenatura.resize(percorso.size());
  for (size_t k = 0; k < percorso.size(); ++k) {
    const double pendenza = p.gravita_ms2 * (percorso[k].pendenza_cella - 100) / kPerMille;
    d.costante[k] = -resistenza_0 - pendenza;
    d.frenatura[k] = std::max(p.frenatura_minima_ms2, frenatura + pendenza);
  }
  return d;
}

// The train of entry 84, or why it makes no run.
struct Treno {
  double massa_kg = 0;
  double lunghezza_m = 0;
  double massa_frenata_percento = 0;
};

std::string treno(const Voce& v, const ParametriMarcia& p, Treno& t) {
  if (v.progressiva_voce < 0) {
    return "il numero di carrozze e' negativo: " + std::to_string(v.progressiva_voce);
  }
  const double carrozze = v.progressiva_voce;
  t.massa_kg = (p.massa_locomotiva_t + p.massa_carro_t * carrozze) * 1000;
  t.lunghezza_m = p.lunghezza_locomotiva_m + p.lunghezza_carro_m * carrozze;
  t.massa_frenata_percento = v.inizio_area;
  if (!std::isfinite(t.massa_kg) || !std::isfinite(t.lunghezza_m)) {
    return "il treno di " + std::to_string(v.progressiva_voce) + " carrozze e' troppo grande";
  }
  return {};
}

size_t cella_in(int64_t metro, size_t celle) {
  return static_cast<size_t>(
      std::clamp(cella_del_metro(metro), int64_t{0}, static_cast<int64_t>(celle) - 1));
}

// The cell of metre after metre, going forward or back, without a division per metre.
class CellaCorrente {
 public:
  CellaCorrente(int64_t metro, size_t celle)
      : ultima_(celle - 1),
        cella_(cella_del_metro(metro)),
        inizio_(cella_ * kMetriCella - kMetriCella / 2) {}
  // Metre `metro`, one step from the previous one.
  void vai(int64_t metro) {
    if (metro >= inizio_ + kMetriCella) {
      ++cella_;
      inizio_ += kMetriCella;
    } else if (metro < inizio_) {
      --cella_;
      inizio_ -= kMetriCella;
    }
  }
  size_t cella() const {
    return static_cast<size_t>(std::clamp(cella_, int64_t{0}, static_cast<int64_t>(ultima_)));
  }

 private:
  size_t ultima_;
  int64_t cella_;
  int64_t inizio_;  // the cell's first metre
};

// The fastest run over the points from `da` to `a` (indices into v2, the head at chainage
// inizio + i), at rest at both ends: forward at full effort, backward at full braking, each
// capped by the train's ceiling. v2 holds the ceiling squared on entry and the speed squared
// on return. One metre per step: over a metre the acceleration is that of its start.
void corsa(const Dinamica& d, int64_t inizio, size_t da, size_t a, std::vector<float>& v2) {
  const size_t celle = d.costante.size();
  CellaCorrente c(inizio + static_cast<int64_t>(da), celle);
  double w = 0;
  // At the ceiling the speed and the cell stay the same for long: so does the acceleration.
  double w_noto = -1;
  size_t k_noto = 0;
  double a_nota = 0;
  v2[da] = 0;
  for (size_t i = da; i < a; ++i) {
    c.vai(inizio + static_cast<int64_t>(i));
    const size_t k = c.cella();
    if (w != w_noto || k != k_noto) {
      a_nota = d.accelerazione(w, k);
      w_noto = w;
      k_noto = k;
    }
    w = std::min(static_cast<double>(v2[i + 1]), std::max(0.0, w + 2 * a_nota));
    v2[i + 1] = static_cast<float>(w);
  }
  w = 0;
  v2[a] = 0;
  for (size_t i = a; i-- > da;) {
    c.vai(inizio + static_cast<int64_t>(i));
    w = std::min(static_cast<double>(v2[i]), w + 2 * d.frenatura[c.cella()]);
    v2[i] = static_cast<float>(w);
  }
}

// The time over the metres [da, a) at the cell ceiling, with no train length.
double tempo_limite(const std::vector<double>& tetto_ms, int64_t da, int64_t a) {
  double t = 0;
  for (int64_t m = da; m < a;) {
    const size_t k = cella_in(m, tetto_ms.size());
    // The cell's last metre: cell k ends at 50k + 25.
    const int64_t fine = std::min(a, cella_del_metro(m) * kMetriCella + kMetriCella / 2);
    const double metri = static_cast<double>(fine - m);
    t += tetto_ms[k] > 0 ? metri / tetto_ms[k] : kInfinito;
    m = fine;
  }
  return t;
}

EsitoTratta esito(const Tratta& t, double soglia_percento) {
  const auto programmato = static_cast<double>(t.programmato_s);
  if (programmato < t.limite_s) {
    return EsitoTratta::impossibile_con_ogni_treno;
  }
  if (programmato < t.piu_veloce_s) {
    return EsitoTratta::impossibile;
  }
  if (t.margine_s < soglia_percento / 100 * t.piu_veloce_s) {
    return EsitoTratta::stretto;
  }
  return EsitoTratta::ok;
}

}  // namespace

std::string_view testo_esito(EsitoTratta e) {
  switch (e) {
    case EsitoTratta::ok:
      return "ok";
    case EsitoTratta::stretto:
      return "stretto";
    case EsitoTratta::impossibile:
      return "impossibile";
    case EsitoTratta::impossibile_con_ogni_treno:
      return "impossibile-con-ogni-treno";
  }
  return "";
}

Marcia verifica_marcia(const std::array<Voce, kNumeroVoci>& voci,
                       const std::vector<Cella>& percorso, const ParametriMarcia& parametri) {
  return verifica_marcia(voci, percorso, parametri, Marcia{});
}

Marcia verifica_marcia(const std::array<Voce, kNumeroVoci>& voci,
                       const std::vector<Cella>& percorso, const ParametriMarcia& parametri,
                       Marcia spazio) {
  Marcia m = std::move(spazio);
  m.profilo.inizio_m = 0;
  m.profilo.velocita_ms.clear();
  m.profilo.tempo_s.clear();
  m.profilo.tetto_treno.clear();
  m.tratte.clear();
  m.difetto.clear();
  m.tetto_celle_kmh = tetto_celle_kmh(percorso);
  if (auto problema = controlla(parametri)) {
    m.difetto = std::move(*problema);
    return m;
  }
  Treno t;
  m.difetto = treno(voci[kVoceTreno], parametri, t);
  if (!m.difetto.empty()) {
    return m;
  }
  PuntiOrario po = punti_orario(voci, percorso);
  if (!po.difetto.empty()) {
    m.difetto = std::move(po.difetto);
    return m;
  }
  const std::vector<PuntoOrario>& punti = po.punti;
  if (punti.size() < 2) {
    return m;
  }

  std::vector<double> tetto_ms(m.tetto_celle_kmh.size());
  for (size_t k = 0; k < tetto_ms.size(); ++k) {
    tetto_ms[k] = m.tetto_celle_kmh[k] / kKmhPerMs;
  }
  const int64_t inizio = punti.front().posizione_m;
  const int64_t fine = punti.back().posizione_m;
  ProfiloMarcia& pr = m.profilo;
  pr.inizio_m = inizio;

  std::vector<float>& v = pr.velocita_ms;
  tetto_treno(tetto_ms, inizio, fine, t.lunghezza_m, v);
  // The ceiling as steps, then squared where the speed squared will be.
  for (size_t i = 0; i < v.size(); ++i) {
    if (i == 0 || v[i] != pr.tetto_treno.back().velocita_ms) {
      pr.tetto_treno.push_back({inizio + static_cast<int64_t>(i), 0, v[i]});
    }
    pr.tetto_treno.back().a_m = inizio + static_cast<int64_t>(i);
    v[i] *= v[i];
  }

  const Dinamica d = dinamica(parametri, t.massa_kg, t.massa_frenata_percento, percorso);
  const auto indice = [inizio](const PuntoOrario& p) {
    return static_cast<size_t>(p.posizione_m - inizio);
  };
  for (size_t da = 0, j = 1; j < punti.size(); ++j) {
    if (punti[j].fermata) {
      corsa(d, inizio, da, indice(punti[j]), v);
      da = indice(punti[j]);
    }
  }
  for (float& x : v) {
    x = std::sqrt(x);
  }

  // Times metre by metre: at an acceleration constant over a metre, its mean speed is the
  // mean of the speeds at its ends.
  std::vector<float>& tempo = pr.tempo_s;
  tempo.resize(v.size());
  tempo[0] = 0;
  m.tratte.resize(punti.size() - 1);
  size_t j = 0;
  size_t fine_tratta = indice(punti[1]);
  double tempo_corsa = 0;
  double tempo_tratta = 0;
  double somma_nota = -1;
  double dt = 0;
  for (size_t i = 0; i + 1 < v.size(); ++i) {
    const double somma = static_cast<double>(v[i]) + v[i + 1];
    if (somma != somma_nota) {
      dt = somma > 0 ? 2 / somma : kInfinito;
      somma_nota = somma;
    }
    tempo_corsa += dt;
    tempo[i + 1] = static_cast<float>(tempo_corsa);
    tempo_tratta += dt;
    if (i + 1 == fine_tratta) {
      m.tratte[j].piu_veloce_s = tempo_tratta;
      tempo_tratta = 0;
      if (++j < m.tratte.size()) {
        fine_tratta = indice(punti[j + 1]);
      }
    }
  }

  for (size_t k = 0; k < m.tratte.size(); ++k) {
    const PuntoOrario& a = punti[k];
    const PuntoOrario& b = punti[k + 1];
    Tratta& r = m.tratte[k];
    r.da = a.nome;
    r.a = b.nome;
    r.voce_da = a.voce;
    r.voce_a = b.voce;
    r.da_m = a.posizione_m;
    r.a_m = b.posizione_m;
    r.metri = b.posizione_m - a.posizione_m;
    r.programmato_s = b.arrivo_s - a.partenza_s;
    r.limite_s = tempo_limite(tetto_ms, a.posizione_m, b.posizione_m);
    r.margine_s = static_cast<double>(r.programmato_s) - r.piu_veloce_s;
    r.esito = esito(r, parametri.soglia_stretto_percento);
  }
  return m;
}

Marcia verifica_marcia(const Scenario& s, const ParametriMarcia& parametri) {
  return verifica_marcia(s.voci, s.percorso, parametri);
}
