#include "compiler/abbattimenti.h"

#include <stdexcept>
#include <string>

#include "compiler/minimo.h"

namespace {

// Slow-downs at this speed or more get no points inside them.
constexpr int16_t kVelocitaSenzaPuntiInterni = 110;
constexpr int32_t kPassoInterno = 8;
constexpr int32_t kDistanzaMassimaSegnaleAvviso = 20;  // cells before the warning board
constexpr int32_t kPrimaCellaSegnaleAvviso = 3;
constexpr int32_t kCelleDopoLaFine = 12;  // where the signal after a slow-down is looked for

// The three approach windows: the nearest cell before the start, counted back.
constexpr int32_t kFinestre[] = {5, 11, 18};
constexpr int32_t kCelleFinestra = 3;

// The last index of the track; a track so long that a position in metres would not fit 32
// bits cannot come from any line and is refused.
int32_t ultima_cella(const Scenario& s) {
  if (s.percorso.size() > static_cast<size_t>(INT32_MAX / 50)) {
    throw std::length_error("percorso di " + std::to_string(s.percorso.size()) + " celle");
  }
  return static_cast<int32_t>(s.percorso.size()) - 1;
}

class Passata {
 public:
  explicit Passata(Scenario& s) : s_(s), ultima_(ultima_cella(s)) {}

  std::optional<ProblemaDellaPassata> esegui() {
    for (int32_t i = 1; i <= ultima_ - 2; ++i) {
      const int g = genere(i);
      if (g == kAvvisoRallentamento) {
        segnali_prima_dell_avviso(i);
      } else if (g == kInizioRallentamento) {
        inizio_rallentamento(i);
      }
    }
    return ultimo_problema_;
  }

 private:
  bool dentro(int32_t c) const { return c >= 0 && c <= ultima_; }
  Cella& cella(int32_t c) { return s_.percorso[static_cast<size_t>(c)]; }
  // The kind of cell c, or -1 (no kind) outside the track.
  int genere(int32_t c) { return dentro(c) ? cella(c).genere : -1; }
  bool libera(int32_t c) { return dentro(c) && !occupata(cella(c)); }

  void piazza(int32_t c) {
    cella(c).genere = kAbbattimentoConVelocita;
    cella(c).valore_1 = kVelocitaAbbattimento;
  }
  void abbassa(int32_t c) { cella(c).valore_1 = minimo(kVelocitaAbbattimento, cella(c).valore_1); }
  // Error `codice` at cell c, about the item in cell `elemento`.
  void registra(CodiceErrore codice, int32_t c, int32_t elemento) {
    s_.codice_errore = codice;
    s_.posizione_errore = 50 * c;
    ultimo_problema_ = ProblemaDellaPassata{codice, elemento};
  }

  // A point just before every signal up to 20 cells before the warning board in cell i.
  void segnali_prima_dell_avviso(int32_t i) {
    for (int32_t distanza = 1; distanza <= kDistanzaMassimaSegnaleAvviso; ++distanza) {
      const int32_t segnale = i - distanza;
      if (segnale < kPrimaCellaSegnaleAvviso) {
        return;
      }
      if (genere(segnale) == kSegnale) {
        punto_prima_del_segnale(segnale);
      }
    }
  }

  void punto_prima_del_segnale(int32_t segnale) {
    if (libera(segnale - 1)) {
      piazza(segnale - 1);
    } else if (libera(segnale - 2)) {
      piazza(segnale - 2);
    } else if (genere(segnale - 1) == kAbbattimentoConVelocita) {
      abbassa(segnale - 1);
    } else if (genere(segnale - 2) == kAbbattimentoConVelocita) {
      abbassa(segnale - 2);
    } else {
      registra(kNessunPostoPrimaDelSegnale, segnale, segnale);
    }
  }

  void inizio_rallentamento(int32_t i) {
    for (int32_t vicina : kFinestre) {
      finestra_di_avvicinamento(i, vicina);
    }
    const int32_t fine =
        cella(i).valore_1 < kVelocitaSenzaPuntiInterni ? punti_interni(i) : trova_la_fine(i);
    segnale_dopo_la_fine(i, fine);
  }

  // The nearest free cell of i - vicina, i - vicina - 1, i - vicina - 2. A start too close to
  // the beginning of the track has no such window.
  void finestra_di_avvicinamento(int32_t i, int32_t vicina) {
    const int32_t lontana = vicina + kCelleFinestra - 1;
    if (i <= lontana) {
      return;
    }
    for (int32_t c = i - vicina; c >= i - lontana; --c) {
      if (libera(c)) {
        piazza(c);
        return;
      }
    }
    registra(kNessunPostoPrimaDelRallentamento, i, i);
  }

  // Walks from the start i to the end cell, placing a point every 8 cells; a taken cell moves
  // the point one back or one ahead, and the count goes on from the cell actually used. After
  // an error the count runs past 8, so no later point is placed in this slow-down. Returns the
  // end cell (or the last cell of the track).
  int32_t punti_interni(int32_t i) {
    int32_t dall_ultimo_punto = 0;
    for (int32_t k = i + 1;; ++k) {
      ++dall_ultimo_punto;
      if (dall_ultimo_punto == kPassoInterno) {
        if (libera(k)) {
          piazza(k);
          dall_ultimo_punto = 0;
        } else if (libera(k - 1)) {
          piazza(k - 1);
          dall_ultimo_punto = 1;
        } else if (libera(k + 1)) {
          piazza(k + 1);
          dall_ultimo_punto = -1;
        } else {
          registra(kNessunPostoNelRallentamento, k, i);
        }
      }
      if (genere(k) == kFineRallentamento || k >= ultima_) {
        return k;
      }
    }
  }

  // The same walk without points, for a slow-down that gets none inside: the signal after it
  // is looked for from its own end cell.
  int32_t trova_la_fine(int32_t i) {
    int32_t k = i + 1;
    while (genere(k) != kFineRallentamento && k < ultima_) {
      ++k;
    }
    return k;
  }

  // A point just before the first signal within 12 cells after the end cell of the slow-down
  // that starts in cell i.
  void segnale_dopo_la_fine(int32_t i, int32_t fine) {
    const int32_t ultima_cercata = minimo(fine + kCelleDopoLaFine, ultima_);
    int32_t segnale = fine;
    while (segnale <= ultima_cercata && genere(segnale) != kSegnale) {
      ++segnale;
    }
    if (segnale > ultima_cercata) {
      return;
    }
    if (libera(segnale - 1)) {
      piazza(segnale - 1);
    } else if (libera(segnale - 2)) {
      piazza(segnale - 2);
    } else {
      registra(kNessunPostoNelRallentamento, fine, i);
    }
  }

  Scenario& s_;
  const int32_t ultima_;
  std::optional<ProblemaDellaPassata> ultimo_problema_;
};

}  // namespace

std::optional<ProblemaDellaPassata> aggiungi_abbattimenti(Scenario& s) {
  return Passata(s).esegui();
}
