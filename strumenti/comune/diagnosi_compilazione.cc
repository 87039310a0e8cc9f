#include "strumenti/comune/diagnosi_compilazione.h"

#include "model/codici_errore.h"

namespace {

class Sorgenti {
 public:
  explicit Sorgenti(const std::vector<SorgenteAutore>& s) : sorgenti_(s) {}

  // The place in the author's file of a place the compile names.
  Luogo posto(const Luogo& l) const {
    const SorgenteAutore* s = di(l.file);
    return {s != nullptr ? s->percorso : l.file, l.riga, l.colonna};
  }
  std::string riga(const Luogo& l) const {
    const SorgenteAutore* s = di(l.file);
    return s != nullptr && l.riga > 0 ? riga_del_testo(s->testo, l.riga) : std::string();
  }
  Nota nota(const Luogo& l, std::string messaggio) const {
    return {posto(l), std::move(messaggio), riga(l)};
  }

 private:
  const SorgenteAutore* di(const std::string& nome) const {
    for (const SorgenteAutore& s : sorgenti_) {
      if (s.nome == nome) {
        return &s;
      }
    }
    return nullptr;
  }

  const std::vector<SorgenteAutore>& sorgenti_;
};

// What the earlier row that a problem names is, by the problem's code.
std::string testo_della_nota(int32_t codice) {
  switch (codice) {
    case kStazioneTroppoVicina:
      return "la stazione precedente";
    case kOltreIlPercorso:
      return "l'elemento oltre la fine del percorso e' qui";
    default:
      return "la cella e' gia' occupata dall'elemento di questa riga";
  }
}

Diagnosi errore_al_luogo(const Luogo& luogo, const Sorgenti& sorgenti) {
  Diagnosi d;
  d.gravita = Gravita::errore;
  if (!luogo.file.empty()) {
    d.posto = sorgenti.posto(luogo);
    d.riga_sorgente = sorgenti.riga(luogo);
  }
  return d;
}

Diagnosi problema_dei_dati(const Problema& p, const Sorgenti& sorgenti) {
  Diagnosi d = errore_al_luogo(p.luogo, sorgenti);
  d.codice = p.codice;
  d.messaggio = std::string(significato(p.codice));
  if (!p.motivo.empty()) {
    d.messaggio += ": " + p.motivo;
  }
  if (p.codice == kOltreIlPercorso && p.nota) {
    // The code was left by the row of the note; this later row is where it stopped the parse.
    d.messaggio += " (trovato a questa riga, che ferma la lettura)";
  }
  if (p.nota) {
    d.note.push_back(sorgenti.nota(*p.nota, testo_della_nota(p.codice)));
  }
  return d;
}

Diagnosi conflitto_dei_timbri(const Problema& p, const Sorgenti& sorgenti) {
  Diagnosi d = errore_al_luogo(p.luogo, sorgenti);
  d.messaggio = "Errore n. " + std::to_string(p.codice) +
                ": i timbri dello scenario trovano la cella 1 (i primi 50 m) gia' occupata";
  return d;
}

Diagnosi guasto(const Problema& p, const Sorgenti& sorgenti) {
  Diagnosi d = errore_al_luogo(p.luogo, sorgenti);
  d.messaggio = "i file binari non si possono scrivere: " + p.motivo;
  return d;
}

Diagnosi avviso(const Avviso& a, const Sorgenti& sorgenti) {
  Diagnosi d;
  d.gravita = Gravita::avviso;
  d.codice = std::string(nome_avviso(a.tipo));
  d.messaggio = a.testo;
  d.posto = sorgenti.posto(a.luogo);
  d.riga_sorgente = sorgenti.riga(a.luogo);
  if (a.nota) {
    d.note.push_back(sorgenti.nota(*a.nota, a.testo_nota));
  }
  return d;
}

}  // namespace

std::vector<Diagnosi> diagnosi_della_compilazione(const Compilazione& c,
                                                  const std::vector<SorgenteAutore>& sorgenti) {
  const Sorgenti s(sorgenti);
  std::vector<Diagnosi> d;
  for (const Avviso& a : c.avvisi) {
    d.push_back(avviso(a, s));
  }
  for (const Problema& p : c.problemi) {
    d.push_back(problema_dei_dati(p, s));
  }
  if (c.timbri) {
    d.push_back(conflitto_dei_timbri(*c.timbri, s));
  }
  if (c.guasto) {
    d.push_back(guasto(*c.guasto, s));
  }
  return d;
}

bool ha_errori(const std::vector<Diagnosi>& diagnosi) {
  for (const Diagnosi& d : diagnosi) {
    if (d.gravita == Gravita::errore) {
      return true;
    }
  }
  return false;
}
