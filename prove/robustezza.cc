#include "prove/robustezza.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include "compiler/compila.h"
#include "compiler/errore.h"
#include "compiler/memorizza_percorso.h"
#include "model/basso_prima.h"
#include "model/formato_percorso.h"
#include "model/formato_voci.h"
#include "model/nomi_file.h"
#include "platform/disco_in_memoria.h"

namespace {

constexpr std::string_view kSeparatore("\0\0", 2);

// Codes with which the line phase ends before it opens the train source, which then stays.
bool treno_mai_aperto(int32_t codice) {
  for (CodiceErrore c :
       {kLineaMancante, kSenzaGenerale, kLineaTroppoLunga, kPrimaRipetizioneNonMultipla,
        kSecondaRipetizioneNonMultipla, kRipetizioneSenzaCodici, kCartelloSuCellaOccupata,
        kIndicatoreSuCellaOccupata, kCurvaNonValida}) {
    if (codice == c) {
      return true;
    }
  }
  return false;
}

// Codes that name an earlier row: the one whose item took the cell, or the previous station.
bool con_nota(int32_t codice) {
  return codice == kCartelloSuCellaOccupata || codice == kAbbattimentoSuCellaOccupata ||
         (codice >= kSegnaleSuCellaOccupata && codice <= kStazioneTroppoVicina);
}

// The result agrees with the error state of the model, and a problem says where it was found:
// in one of the two sources, at a line, unless the file as a whole is the problem (missing,
// or failing to be read or deleted).
std::string verifica_esito(const EsitoCompilazione& e, const Scenario& s, const std::string& linea,
                           const std::string& treno) {
  if (e.codice != s.codice_errore || e.posizione != s.posizione_errore) {
    return "esito con codice " + std::to_string(e.codice) + " e modello con codice " +
           std::to_string(s.codice_errore);
  }
  if (e.file_scritti == s.percorso.empty()) {
    return "esito e percorso non concordano sui file scritti";
  }
  if (e.codice == kNessunErrore) {
    return e.luogo == Luogo{} && e.motivo.empty() && !e.nota ? "" : "luogo senza problema";
  }
  const std::string codice = " (codice " + std::to_string(e.codice) + ")";
  if (e.luogo.file != linea && e.luogo.file != treno) {
    return "problema in \"" + e.luogo.file + "\"" + codice;
  }
  const bool il_file_intero = e.codice == kLineaMancante || (e.codice == kErroreEsecuzione &&
                                                             e.motivo.starts_with("impossibile"));
  if ((e.luogo.riga > 0) == il_file_intero || (e.luogo.riga > 0) != (e.luogo.colonna > 0)) {
    return "problema alla riga " + std::to_string(e.luogo.riga) + ", colonna " +
           std::to_string(e.luogo.colonna) + codice;
  }
  if ((e.codice == kErroreEsecuzione) == e.motivo.empty()) {
    return "motivo \"" + e.motivo + "\"" + codice;
  }
  if (e.codice == kOltreIlPercorso) {
    // A row of the line source beyond the track leaves the code to the train source, which
    // stops at its first signal or slow-down and names that row of the line source.
    if (e.nota && (e.nota->file != linea || e.luogo.file != treno)) {
      return "nota " + testo_del_luogo(*e.nota) + " per " + testo_del_luogo(e.luogo) + codice;
    }
  } else if (con_nota(e.codice) != e.nota.has_value()) {
    return std::string(e.nota ? "nota inattesa" : "nota mancante") + codice;
  }
  if (e.nota && (e.nota->riga <= 0 || (e.nota->file != linea && e.nota->file != treno))) {
    return "nota " + testo_del_luogo(*e.nota) + codice;
  }
  return "";
}

uint16_t u16(std::string_view b, size_t i) {
  return leggi_basso_prima<uint16_t>(b.data() + i);
}

// Reads the entry file back record by record: exactly 87 of them and nothing more.
std::string verifica_voci(std::string_view b) {
  size_t pos = 0;
  for (int i = 0; i < kNumeroVoci; ++i) {
    if (pos + kByteVoceSenzaTesto > b.size()) {
      return "file delle voci troncato alla voce " + std::to_string(i);
    }
    pos += kByteVoceSenzaTesto + u16(b, pos + scostamento(CampoVoce::lunghezza_testo, 0));
    if (pos > b.size()) {
      return "testo della voce " + std::to_string(i) + " oltre la fine del file";
    }
  }
  return pos == b.size() ? "" : "byte dopo l'ultima voce";
}

// Reads the plan file back as tagged numbers: valid tags, two columns of `punti` values.
std::string verifica_tracciato(std::string_view b, int64_t punti) {
  int64_t numeri = 0;
  size_t pos = 0;
  while (pos + 2 <= b.size()) {
    const uint16_t etichetta = u16(b, pos);
    if (etichetta != 0 && etichetta != 2 && etichetta != 5) {
      return "etichetta " + std::to_string(etichetta) + " nel tracciato";
    }
    pos += 2 + (etichetta == 2 ? 2 : etichetta == 5 ? 8 : 0);
    ++numeri;
  }
  if (pos != b.size()) {
    return "file del tracciato illeggibile";
  }
  return numeri == 2 * punti ? "" : "il tracciato ha " + std::to_string(numeri) + " numeri";
}

// The content of a file: on the disk in memory the file itself, elsewhere a copy read into
// `copia`. The checks read the plan file of every input; copying it again would cost more
// than the compile of a short line.
const std::string& contenuto(piattaforma::Disco& disco, const std::string& percorso,
                             std::string& copia) {
  if (const auto* memoria = dynamic_cast<const piattaforma::DiscoInMemoria*>(&disco)) {
    if (const auto trovato = memoria->file.find(percorso); trovato != memoria->file.end()) {
      return trovato->second;
    }
  }
  copia = disco.leggi(percorso);
  return copia;
}

}  // namespace

SorgentiDaIngresso dividi_ingresso(std::string_view ingresso) {
  const size_t taglio = ingresso.find(kSeparatore);
  if (taglio == std::string_view::npos) {
    return {ingresso, std::nullopt};
  }
  return {ingresso.substr(0, taglio), ingresso.substr(taglio + kSeparatore.size())};
}

std::string unisci_sorgenti(std::string_view linea, std::string_view treno) {
  std::string ingresso(linea);
  ingresso += kSeparatore;
  ingresso += treno;
  return ingresso;
}

namespace {

// The storage of the plan, handed from one compile to the next.
Tracciato& piano_conservato() {
  thread_local Tracciato t;
  return t;
}

// The storage of the plan, handed from one compile to the next: the plan of a long line would
// otherwise be fresh memory for every input, and touching it the first time costs more than
// the compile. The plan itself starts empty, as in a new model.
class TracciatoInPrestito {
 public:
  explicit TracciatoInPrestito(Tracciato& t) : t_(t) {
    t_ = std::move(piano_conservato());
    t_.svuota();
  }
  ~TracciatoInPrestito() { piano_conservato() = std::move(t_); }
  TracciatoInPrestito(const TracciatoInPrestito&) = delete;
  TracciatoInPrestito& operator=(const TracciatoInPrestito&) = delete;

 private:
  Tracciato& t_;
};

// Gives the plan's storage back for the next input once its checks are done.
class RestituisciPiano {
 public:
  explicit RestituisciPiano(Compilazione& c) : c_(c) {}
  ~RestituisciPiano() { piano_conservato() = std::move(c_.scenario.tracciato); }
  RestituisciPiano(const RestituisciPiano&) = delete;
  RestituisciPiano& operator=(const RestituisciPiano&) = delete;

 private:
  Compilazione& c_;
};

}  // namespace

std::string compila_e_verifica(std::string_view ingresso, piattaforma::Disco& disco,
                               const std::string& cartella) {
  Scenario s;
  const TracciatoInPrestito prestito(s.tracciato);
  s.nome_scenario = "Prova";
  s.numero_treno = "1";
  const auto file = [&](const std::string& nome) { return disco.percorso_in(cartella, nome); };
  const std::string linea = file(nome_sorgente_linea(s));
  const std::string treno = file(nome_sorgente_treno(s));
  const std::string binari[] = {file(nome_file_tracciato(s)), file(nome_file_voci(s)),
                                file(nome_file_percorso(s))};
  for (const std::string& f : {linea, treno}) {
    disco.elimina_se_esiste(f);
  }
  for (const std::string& f : binari) {
    disco.elimina_se_esiste(f);
  }
  const SorgentiDaIngresso sorgenti = dividi_ingresso(ingresso);
  disco.ricrea(linea, sorgenti.linea);
  if (sorgenti.treno) {
    disco.ricrea(treno, *sorgenti.treno);
  }

  EsitoCompilazione esito;
  try {
    esito = memorizza_percorso(s, disco, cartella, 1);
  } catch (const ErroreTerminale&) {
    // The stamps found their fields taken: the run ends with its message, nothing written.
    return disco.esiste(binari[2]) ? "file scritti dopo un errore 125x" : "";
  } catch (const std::length_error&) {
    // A sign text too long for the entry file: a reported failure of the run.
    return "";
  } catch (const std::runtime_error& e) {
    if (s.percorso.size() < 2) {
      return "";  // no cell 1 for the stamps: a reported failure of the run
    }
    return std::string("eccezione inattesa: ") + e.what();
  }

  if (disco.esiste(linea)) {
    return "la sorgente della linea esiste ancora (codice " + std::to_string(s.codice_errore) + ")";
  }
  if (disco.esiste(treno) && !treno_mai_aperto(s.codice_errore)) {
    return "la sorgente del treno esiste ancora (codice " + std::to_string(s.codice_errore) + ")";
  }
  if (std::string e = verifica_esito(esito, s, nome_sorgente_linea(s), nome_sorgente_treno(s));
      !e.empty()) {
    return e;
  }
  const bool scritti = !s.percorso.empty();
  for (const std::string& f : binari) {
    if (disco.esiste(f) != scritti) {
      return f + (scritti ? " mancante" : " scritto senza percorso");
    }
  }
  if (!scritti) {
    return s.codice_errore != kNessunErrore ? "" : "nessun percorso e nessun codice d'errore";
  }
  std::string copie[3];
  const std::string& percorso = contenuto(disco, binari[2], copie[2]);
  if (percorso.size() != kByteCella * (static_cast<size_t>(s.ultima_cella) + 1)) {
    return "file del percorso di " + std::to_string(percorso.size()) + " byte per " +
           std::to_string(s.ultima_cella + 1) + " celle";
  }
  if (std::string e = verifica_voci(contenuto(disco, binari[1], copie[1])); !e.empty()) {
    return e;
  }
  return verifica_tracciato(contenuto(disco, binari[0], copie[0]), int64_t{s.lunghezza_estesa} + 1);
}

std::string compila_e_verifica_in_memoria(std::string_view ingresso) {
  const SorgentiDaIngresso sorgenti = dividi_ingresso(ingresso);
  OpzioniCompilazione opzioni;
  opzioni.nome_scenario = "Prova";
  opzioni.numero_treno = "1";
  Compilazione c;
  try {
    c = compila(sorgenti.linea, sorgenti.treno, opzioni, std::move(piano_conservato()));
  } catch (const std::exception& e) {
    return std::string("eccezione: ") + e.what();
  }
  const RestituisciPiano restituisci(c);
  const Scenario& s = c.scenario;
  if (!c.linea_eliminata) {
    return "la sorgente della linea esiste ancora (codice " + std::to_string(s.codice_errore) + ")";
  }
  if (sorgenti.treno && !c.treno_eliminato && !treno_mai_aperto(s.codice_errore)) {
    return "la sorgente del treno esiste ancora (codice " + std::to_string(s.codice_errore) + ")";
  }
  EsitoCompilazione e;
  e.codice = s.codice_errore;
  e.posizione = s.posizione_errore;
  e.file_scritti = !s.percorso.empty();
  if (!c.problemi.empty()) {
    e.luogo = c.problemi.back().luogo;
    e.motivo = c.problemi.back().motivo;
    e.nota = c.problemi.back().nota;
  }
  if (c.problemi.empty() != (s.codice_errore == kNessunErrore)) {
    return "problemi e codice non concordano";
  }
  if (std::string v = verifica_esito(e, s, nome_sorgente_linea(s), nome_sorgente_treno(s));
      !v.empty()) {
    return v;
  }
  for (const std::optional<Problema>& fine : {c.timbri, c.guasto}) {
    if (fine && (fine->luogo.riga <= 0 || (fine->luogo.file != nome_sorgente_linea(s) &&
                                           fine->luogo.file != nome_sorgente_treno(s)))) {
      return "fine della compilazione in " + testo_del_luogo(fine->luogo);
    }
  }
  if (c.ha_immagini() != (!s.percorso.empty() && !c.timbri && !c.guasto)) {
    return "immagini e percorso non concordano";
  }
  if (!c.ha_immagini()) {
    return "";
  }
  if (c.immagini->percorso.size() != kByteCella * s.percorso.size()) {
    return "immagine del percorso di " + std::to_string(c.immagini->percorso.size()) + " byte";
  }
  if (std::string v = verifica_voci(c.immagini->voci); !v.empty()) {
    return v;
  }
  return verifica_tracciato(c.immagini->tracciato, int64_t{s.lunghezza_estesa} + 1);
}

namespace {

std::string impronta(const std::string& byte) {
  uint64_t h = 14695981039346656037u;
  for (const char c : byte) {
    h = (h ^ static_cast<uint8_t>(c)) * 1099511628211u;
  }
  char testo[17];
  std::snprintf(testo, sizeof testo, "%016llx", static_cast<unsigned long long>(h));
  return testo;
}

}  // namespace

std::string esito_compilazione(std::string_view ingresso, piattaforma::Disco& disco,
                               const std::string& cartella) {
  Scenario s;
  s.nome_scenario = "Prova";
  s.numero_treno = "1";
  const auto file = [&](const std::string& nome) { return disco.percorso_in(cartella, nome); };
  const std::string sorgenti[] = {file(nome_sorgente_linea(s)), file(nome_sorgente_treno(s))};
  const std::string binari[] = {file(nome_file_tracciato(s)), file(nome_file_voci(s)),
                                file(nome_file_percorso(s))};
  for (const std::string& f : sorgenti) {
    disco.elimina_se_esiste(f);
  }
  for (const std::string& f : binari) {
    disco.elimina_se_esiste(f);
  }
  const SorgentiDaIngresso divise = dividi_ingresso(ingresso);
  disco.ricrea(sorgenti[0], divise.linea);
  if (divise.treno) {
    disco.ricrea(sorgenti[1], *divise.treno);
  }
  std::string esito;
  try {
    memorizza_percorso(s, disco, cartella, 1);
  } catch (const ErroreTerminale& e) {
    esito = std::string("terminale \"") + e.what() + "\" ";
  } catch (const std::exception&) {
    esito = "eccezione ";
  }
  esito += "codice " + std::to_string(s.codice_errore) + " posizione " +
           std::to_string(s.posizione_errore) + " sorgenti ";
  for (const std::string& f : sorgenti) {
    esito += disco.esiste(f) ? '1' : '0';
  }
  for (const std::string& f : binari) {
    esito += ' ';
    esito += disco.esiste(f) ? impronta(disco.leggi(f)) : "-";
  }
  return esito;
}

std::string esito_compilazione(std::string_view ingresso) {
  const SorgentiDaIngresso divise = dividi_ingresso(ingresso);
  OpzioniCompilazione opzioni;
  opzioni.nome_scenario = "Prova";
  opzioni.numero_treno = "1";
  const Compilazione c = compila(divise.linea, divise.treno, opzioni);
  std::string esito;
  if (c.timbri) {
    esito = "terminale \" Errore n. " + std::to_string(c.timbri->codice) + "\" ";
  } else if (c.guasto) {
    esito = "eccezione ";
  }
  esito += "codice " + std::to_string(c.scenario.codice_errore) + " posizione " +
           std::to_string(c.scenario.posizione_errore) + " sorgenti ";
  esito += c.linea_eliminata ? '0' : '1';
  esito += divise.treno && !c.treno_eliminato ? '1' : '0';
  if (!c.ha_immagini()) {
    return esito + " - - -";
  }
  for (const std::string_view byte : {c.immagini->tracciato, std::string_view(c.immagini->voci),
                                      std::string_view(c.immagini->percorso)}) {
    esito += ' ';
    esito += impronta(std::string(byte));
  }
  return esito;
}
