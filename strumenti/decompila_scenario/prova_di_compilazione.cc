#include "strumenti/decompila_scenario/prova_di_compilazione.h"

#include <algorithm>
#include <set>

#include "compiler/abbattimenti.h"
#include "compiler/leggi_binario.h"
#include "sources/codifica_1252.h"
#include "strumenti/decompila_scenario/stato_decompilazione.h"

namespace {

// Candidate sets of source points tried before giving up: each compile shows which of the
// file's points the pass makes by itself.
constexpr int kTentativiPunti = 8;

}  // namespace

OpzioniCompilazione opzioni_di_compilazione(const Identita& identita) {
  OpzioniCompilazione opzioni;
  opzioni.nome_scenario = in_1252(identita.scenario);
  opzioni.numero_treno = in_1252(identita.treno);
  return opzioni;
}

std::array<std::string_view, kNumeroFileBinari> immagini_in_ordine(const Compilazione& c) {
  if (!c.ha_immagini()) {
    return {};
  }
  return {c.immagini->tracciato, c.immagini->voci, c.immagini->percorso};
}

std::optional<Difetto> prima_differenza(FileBinario file, std::string_view riferimento,
                                        std::string_view ottenuto) {
  if (riferimento == ottenuto) {
    return std::nullopt;
  }
  const size_t fino = std::min(riferimento.size(), ottenuto.size());
  size_t byte = 0;
  while (byte < fino && riferimento[byte] == ottenuto[byte]) {
    ++byte;
  }
  const auto b = static_cast<int64_t>(byte);
  std::string dove;
  if (file == kFilePercorso) {
    const int64_t cella = b / kByteCella;
    CampoCella campo = CampoCella::genere;
    for (int c = 0; c <= static_cast<int>(CampoCella::aderenza_cella); ++c) {
      if (scostamento(static_cast<CampoCella>(c)) <= b % kByteCella) {
        campo = static_cast<CampoCella>(c);
      }
    }
    dove = "cella " + cifre(cella) + ", " + std::string(nome_campo(campo));
  } else if (file == kFileVoci) {
    const LetturaVoci lette = leggi_voci(riferimento);
    for (int k = 0; k < kNumeroVoci; ++k) {
      const int64_t inizio = lette.inizio[static_cast<size_t>(k)];
      if (inizio >= 0 && inizio <= b) {
        dove = "voce " + cifre(k);
      }
    }
  } else {
    // The tagged number the byte lies in, counted from the start of the file.
    const LetturaTracciato letto = leggi_tracciato(riferimento);
    int64_t inizio = 0;
    int64_t numero = 0;
    for (Etichetta e : letto.tracciato.etichette()) {
      if (inizio + byte_numero(e) > b) {
        break;
      }
      inizio += byte_numero(e);
      ++numero;
    }
    dove = "numero " + cifre(numero);
  }
  std::string descrizione;
  if (byte == fino) {
    descrizione = "le sorgenti ricavate danno un file di " +
                  cifre(static_cast<int64_t>(ottenuto.size())) + " byte invece di " +
                  cifre(static_cast<int64_t>(riferimento.size()));
  } else {
    descrizione = "le sorgenti ricavate danno il byte " +
                  cifre(static_cast<uint8_t>(ottenuto[byte])) + " invece di " +
                  cifre(static_cast<uint8_t>(riferimento[byte]));
  }
  return Difetto{file, b, dove, descrizione};
}

Decompilazione prova_di_compilazione(const Identita& identita,
                                     const std::array<std::string_view, kNumeroFileBinari>& attesi,
                                     const std::string& linea, const TrenoDecompilato& treno,
                                     const std::vector<Cella>& celle) {
  Decompilazione d;
  // The points of the files are the source's and the pass's together. A point other than the
  // pass's own (another speed, or none) is always the source's; of the others, those the pass
  // placed in the last compile are left to it, and the rest are written.
  std::vector<int64_t> propri;
  std::vector<int64_t> come_la_passata;
  for (size_t k = 0; k < celle.size(); ++k) {
    const Cella& c = celle[k];
    if (c.genere == kAbbattimentoConVelocita && c.valore_1 == kVelocitaAbbattimento) {
      come_la_passata.push_back(static_cast<int64_t>(k));
    } else if (c.genere == kAbbattimentoConVelocita || c.genere == kAbbattimentoSenzaVelocita) {
      propri.push_back(static_cast<int64_t>(k));
    }
  }
  const OpzioniCompilazione opzioni = opzioni_di_compilazione(identita);
  std::vector<int64_t> punti = propri;
  std::optional<Difetto> differenza;
  std::set<std::vector<int64_t>> provati;
  for (int tentativo = 0; tentativo < kTentativiPunti && provati.insert(punti).second;
       ++tentativo) {
    const std::string treno_scritto = testo_treno(treno, celle, punti);
    const Compilazione c = compila(linea, treno_scritto, opzioni);
    const std::array<std::string_view, kNumeroFileBinari> immagini = immagini_in_ordine(c);
    ++d.compilazioni;
    differenza.reset();
    for (int f = 0; f < kNumeroFileBinari && !differenza; ++f) {
      differenza = prima_differenza(static_cast<FileBinario>(f), attesi[static_cast<size_t>(f)],
                                    immagini[static_cast<size_t>(f)]);
    }
    if (!differenza && c.scenario.codice_errore != 0) {
      d.difetti.push_back(
          {kFilePercorso, 0, "",
           "le sorgenti ricavate si compilano con l'errore " + cifre(c.scenario.codice_errore)});
      return d;
    }
    if (!differenza) {
      d.sorgenti = SorgentiDecompilate{linea, treno_scritto};
      return d;
    }
    if (!c.ha_immagini()) {
      break;
    }
    const std::vector<Cella> compilate = leggi_percorso(immagini[kFilePercorso]).percorso;
    const std::set<int64_t> scritti(punti.begin(), punti.end());
    punti = propri;
    for (int64_t k : come_la_passata) {
      const bool dalla_passata =
          static_cast<size_t>(k) < compilate.size() &&
          compilate[static_cast<size_t>(k)].genere == kAbbattimentoConVelocita &&
          !scritti.contains(k);
      if (!dalla_passata) {
        punti.push_back(k);
      }
    }
    std::sort(punti.begin(), punti.end());
  }
  if (differenza) {
    d.difetti.push_back(*differenza);
  } else {
    d.difetti.push_back({kFilePercorso, 0, "", "le sorgenti ricavate non si compilano"});
  }
  return d;
}
