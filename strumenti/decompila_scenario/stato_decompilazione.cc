#include "strumenti/decompila_scenario/stato_decompilazione.h"

#include "compiler/celle.h"
#include "compiler/leggi_binario.h"

StatoDecompilazione stato_iniziale(const Ispezione& ispezione) {
  StatoDecompilazione s{ispezione, ispezione.percorso, {}, {}, 1};
  if (s.celle.size() > 1) {
    s.celle[1].valore_1 = 0;
    s.celle[1].valore_2 = 0;
  }
  return s;
}

std::string cifre(int64_t v) {
  return std::to_string(v);
}

std::pair<int64_t, int64_t> dividi_in_basso(int64_t v, int64_t b) {
  int64_t q = v / b;
  if (v % b < 0) {
    --q;
  }
  return {q, v - q * b};
}

const Voce& voce(const StatoDecompilazione& s, int k) {
  return s.ispezione.voci[static_cast<size_t>(k)];
}

void difetto_voce(StatoDecompilazione& s, int k, CampoVoce campo, std::string descrizione) {
  const int64_t byte = s.ispezione.inizio_voce[static_cast<size_t>(k)] +
                       scostamento(campo, static_cast<int64_t>(voce(s, k).testo.size()));
  s.difetti.push_back({kFileVoci, byte, "voce " + cifre(k) + ", " + std::string(nome_campo(campo)),
                       std::move(descrizione)});
}

void difetto_cella(StatoDecompilazione& s, int64_t k, CampoCella campo, std::string descrizione) {
  s.difetti.push_back({kFilePercorso, k * kByteCella + scostamento(campo),
                       "cella " + cifre(k) + ", " + std::string(nome_campo(campo)),
                       std::move(descrizione)});
}

bool testo_scrivibile(StatoDecompilazione& s, int k) {
  const std::string& t = voce(s, k).testo;
  if (t.starts_with(' ') || t.find_first_of(",\r\n") != std::string::npos) {
    difetto_voce(s, k, CampoVoce::testo,
                 "un testo che comincia con uno spazio o contiene una virgola o un a capo: "
                 "nessuna riga lo legge cosi'");
    return false;
  }
  return true;
}

bool con_resti(const Cella& c) {
  return c.genere == kFermata &&
         (c.valore_2 != 0 || c.valore_3 != 0 || c.valore_4 != 0 || c.tempo_segnale != 0);
}

// A row at each cell whose value differs from the one before it (the first from what the value
// 0 gives), up to the third cell from the end, where the fill stops. The cells after it hold a
// value only when rows there pushed the fill on: every further row at that cell fills one more
// cell with the value of the row before it, and the end of the fill one more with its own.
void strato(const StatoDecompilazione& s, RigheAllineate& righe, const Riempimento& r,
            int64_t (*valore)(uint8_t)) {
  const auto ultima = static_cast<int64_t>(s.celle.size()) - 1;
  const auto in_cella = [&](int64_t k) { return s.celle[static_cast<size_t>(k)].*r.campo; };
  uint8_t corrente = r.in_cella(0);
  for (int64_t k = 0; k <= ultima - 3; ++k) {
    if (in_cella(k) != corrente) {
      corrente = in_cella(k);
      righe.aggiungi({cifre(inizio_cella(k)), cifre(valore(corrente))});
    }
  }
  if (ultima < 3) {
    return;
  }
  int64_t ultima_riempita = ultima - 3;
  for (int64_t k = ultima; k > ultima - 3; --k) {
    if (in_cella(k) != 0) {
      ultima_riempita = k;
      break;
    }
  }
  for (int64_t k = ultima - 2; k <= ultima_riempita; ++k) {
    righe.aggiungi({cifre(inizio_cella(ultima - 2)), cifre(valore(in_cella(k)))});
  }
}
