#include "compiler/abbattimenti.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "compiler/minimo.h"

namespace {

constexpr int16_t kVelocitaAbbattimento = 180;
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

  void esegui() {
    for (s_.indice = 1; s_.indice <= ultima_ - 2; ++s_.indice) {
      const int g = genere(s_.indice);
      if (g == kAvvisoRallentamento) {
        segnali_prima_dell_avviso(s_.indice);
      } else if (g == kInizioRallentamento) {
        inizio_rallentamento(s_.indice);
      }
    }
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
  void registra(CodiceErrore codice, int32_t c) {
    s_.codice_errore = codice;
    s_.posizione_errore = 50 * c;
  }

  // A point just before every signal up to 20 cells before the warning board in cell i.
  void segnali_prima_dell_avviso(int32_t i) {
    for (s_.indice_2 = 1; s_.indice_2 <= kDistanzaMassimaSegnaleAvviso; ++s_.indice_2) {
      const int32_t segnale = i - s_.indice_2;
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
      registra(kNessunPostoPrimaDelSegnale, segnale);
    }
  }

  void inizio_rallentamento(int32_t i) {
    for (int32_t vicina : kFinestre) {
      finestra_di_avvicinamento(i, vicina);
    }
    if (cella(i).valore_1 < kVelocitaSenzaPuntiInterni) {
      punti_interni(i);
    } else {
      trova_la_fine(i);
    }
    segnale_dopo_la_fine(s_.indice_2);
  }

  // The nearest free cell of i - vicina, i - vicina - 1, i - vicina - 2. A start too close to
  // the beginning of the track has no such window.
  void finestra_di_avvicinamento(int32_t i, int32_t vicina) {
    const int32_t lontana = vicina + kCelleFinestra - 1;
    if (i <= lontana) {
      return;
    }
    for (s_.cursore = i - vicina; s_.cursore >= i - lontana; --s_.cursore) {
      if (libera(s_.cursore)) {
        piazza(s_.cursore);
        return;
      }
    }
    registra(kNessunPostoPrimaDelRallentamento, i);
  }

  // Walks from the start to the end cell, placing a point every 8 cells; a taken cell moves
  // the point one back or one ahead, and the count goes on from the cell actually used. After
  // an error `passo` runs past 8, so no later point is placed in this slow-down. Leaves the
  // end cell (or the last cell of the track) in `indice_2`.
  void punti_interni(int32_t i) {
    s_.passo = 0;
    s_.indice_2 = i;
    while (true) {
      ++s_.indice_2;
      ++s_.passo;
      const int32_t k = s_.indice_2;
      if (s_.passo == kPassoInterno) {
        if (libera(k)) {
          piazza(k);
          s_.passo = 0;
        } else if (libera(k - 1)) {
          piazza(k - 1);
          s_.passo = 1;
        } else if (libera(k + 1)) {
          piazza(k + 1);
          s_.passo = -1;
        } else {
          registra(kNessunPostoNelRallentamento, k);
        }
      }
      if (genere(k) == kFineRallentamento || k >= ultima_) {
        return;
      }
    }
  }

  // The same walk without points, for a slow-down that gets none inside: the signal after it
  // is looked for from its own end cell.
  void trova_la_fine(int32_t i) {
    s_.indice_2 = i;
    do {
      ++s_.indice_2;
    } while (genere(s_.indice_2) != kFineRallentamento && s_.indice_2 < ultima_);
  }

  // A point just before the first signal within 12 cells after the end cell e.
  void segnale_dopo_la_fine(int32_t e) {
    s_.passo = 0;
    const int32_t ultima_cercata = minimo(e + kCelleDopoLaFine, ultima_);
    for (s_.cursore = e; s_.cursore <= ultima_cercata; ++s_.cursore) {
      if (genere(s_.cursore) == kSegnale) {
        s_.passo = s_.cursore - 1;
        break;
      }
    }
    if (s_.passo <= 0) {
      return;
    }
    const int32_t segnale = s_.passo + 1;
    if (libera(segnale - 1)) {
      piazza(segnale - 1);
    } else if (libera(segnale - 2)) {
      piazza(segnale - 2);
    } else {
      registra(kNessunPostoNelRallentamento, e);
    }
  }

  Scenario& s_;
  const int32_t ultima_;
};

}  // namespace

void aggiungi_abbattimenti(Scenario& s) {
  Passata(s).esegui();
}
