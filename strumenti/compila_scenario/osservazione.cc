#include "strumenti/compila_scenario/osservazione.h"

#include <ostream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/disco_reale.h"
#include "platform/interruzione.h"
#include "platform/osservatore_cartelle.h"
#include "sources/codifica_1252.h"
#include "strumenti/ispezione/pagina_html.h"
#include "strumenti/compila_scenario/servizio_pagina.h"
#include "strumenti/marcia/avvisi_marcia.h"
#include "strumenti/marcia/parametri_autore.h"

using nlohmann::ordered_json;

namespace {

int64_t adesso_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Where the file name of a path begins: after its last separator ('\\' too on Windows).
size_t inizio_del_nome(const std::string& percorso) {
#ifdef _WIN32
  const size_t fine = percorso.find_last_of("/\\:");
#else
  const size_t fine = percorso.rfind('/');
#endif
  return fine == std::string::npos ? 0 : fine + 1;
}

// The folder of a path as the author gave it: "." for a bare file name.
std::string cartella_di(const std::string& percorso) {
  const size_t n = inizio_del_nome(percorso);
  return n == 0 ? std::string(".") : percorso.substr(0, n);
}

std::string nome_di(const std::string& percorso) {
  return percorso.substr(inizio_del_nome(percorso));
}

// Whether two plans hold the same points, tags and values alike.
bool stesso_tracciato(const TracciatoLetto& a, const TracciatoLetto& b) {
  return a.ultimo_punto() == b.ultimo_punto() && a.etichette() == b.etichette() &&
         a.valori() == b.valori();
}

// A JSON object's text with one more field at its end, the value already JSON text.
std::string con_campo(const std::string& oggetto, std::string_view nome, const std::string& valore) {
  std::string t = oggetto.substr(0, oggetto.size() - 1);
  if (t != "{") {
    t += ',';
  }
  t += '"';
  t += nome;
  t += "\":";
  t += valore;
  t += '}';
  return t;
}

// The changes from `prima` to `dopo`. Two plans alike have nothing to compare point by point,
// and that walk over a long line's millions of points is the dearest part of the comparison:
// the plans are set aside while the rest is compared, and put back after.
std::vector<Cambiamento> cambiamenti(Compilato& prima, Compilato& dopo, bool stessa_pianta) {
  if (!stessa_pianta) {
    return confronta(prima.ispezione, prima.riepilogo, dopo.ispezione, dopo.riepilogo);
  }
  struct DaParte {
    TracciatoLetto& posto;
    TracciatoLetto pianta = std::exchange(posto, TracciatoLetto{});
    ~DaParte() { posto = std::move(pianta); }
  };
  const DaParte a{prima.ispezione.tracciato};
  const DaParte b{dopo.ispezione.tracciato};
  return confronta(prima.ispezione, prima.riepilogo, dopo.ispezione, dopo.riepilogo);
}

}  // namespace

EventoCompilazione compila_e_descrivi(piattaforma::Disco& disco,
                                      const RichiestaCompilazione& richiesta, int numero,
                                      int64_t rilevato, StatoOsservazione& stato) {
  ordered_json e;
  e["numero"] = numero;
  e["rilevato"] = rilevato;
  const auto inizio = std::chrono::steady_clock::now();
  std::vector<Diagnosi> diagnosi;
  bool errore = false;
  std::optional<RisultatoCompilazione> risultato;
  try {
    risultato = compila_sorgenti_autore(disco, richiesta);
    diagnosi = std::move(risultato->diagnosi);
    errore = risultato->errore_nei_dati;
  } catch (const piattaforma::ErroreFile& f) {
    diagnosi.push_back(diagnosi_del_file(f));
    errore = true;
  } catch (const std::length_error& f) {
    diagnosi.emplace_back().messaggio =
        std::string("il file delle voci non si puo' scrivere: ") + f.what();
    errore = true;
  }
  // The timetable's check, as compila_scenario runs it: its warnings and the parameters'
  // errors after the compile's problems.
  std::optional<Marcia> marcia;
  if (risultato) {
    const ParametriAutore parametri = parametri_autore(disco, richiesta.linea, richiesta.identita,
                                                       richiesta.parametri_marcia);
    if (parametri.errori.empty()) {
      marcia = marcia_della_compilazione(risultato->compilazione, parametri.parametri);
    }
    if (marcia) {
      for (Diagnosi& d : avvisi_della_marcia(*marcia, risultato->compilazione, richiesta.treno,
                                             risultato->sorgenti[1].testo)) {
        diagnosi.push_back(std::move(d));
      }
    }
    diagnosi.insert(diagnosi.end(), parametri.errori.begin(), parametri.errori.end());
  }
  ordered_json problemi = ordered_json::array();
  std::optional<std::string> primo_errore;
  for (const Diagnosi& d : diagnosi) {
    problemi.push_back(oggetto_diagnosi(d, true));
    if (!primo_errore && d.gravita == Gravita::errore) {
      const std::string testo = testo_diagnosi(d, "compila_scenario");
      primo_errore = testo.substr(0, testo.find('\n'));
    }
  }
  e["durata_ms"] = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                             inizio)
                       .count();
  e["quando"] = adesso_ms();
  e["errore"] = errore;
  e["problemi"] = std::move(problemi);
  // What the page draws is what the files hold, also while the sources have an error: the
  // images just written, inspected as they are in memory. A compile that wrote nothing (no
  // track, or a file that could not be written) left the files of an earlier one, read back.
  std::optional<Compilato> ora;
  std::optional<Compilato>& valida = stato.ultima_valida;
  bool stessa_pianta = false;
  try {
    Compilato c;
    if (risultato && risultato->compilazione.ha_immagini()) {
      const Immagini& immagini = *risultato->compilazione.immagini;
      c.ispezione = ispeziona_byte(richiesta.identita, immagini.tracciato, immagini.voci,
                                   immagini.percorso, stato.tracciato);
    } else {
      c.ispezione = ispeziona(disco, richiesta.cartella, richiesta.identita);
    }
    c.riepilogo = riepiloga(c.ispezione.tracciato, c.ispezione.voci, c.ispezione.percorso);
    // Most edits leave the plan as it was, and reducing it is the dearest part of the data.
    stessa_pianta = valida && stesso_tracciato(valida->ispezione.tracciato, c.ispezione.tracciato);
    c.piante = stessa_pianta ? valida->piante : piante_ridotte(c.ispezione.tracciato);
    ora = std::move(c);
  } catch (const piattaforma::ErroreFile&) {
    // No files yet: the page says so.
  }
  // The files of a compile with an error hold what it read before the error: counted from
  // them, the changes would list what the error cut off, and its fix the same again.
  const bool confronto = ora && valida;
  e["cambiamenti"] = confronto ? json_cambiamenti(cambiamenti(*valida, *ora, stessa_pianta))
                               : ordered_json::array();
  e["confronto_con_ultima_valida"] = confronto && stato.ultima_con_errore;
  EventoCompilazione evento;
  evento.compilazione = testo_json(e);
  evento.dati = ora ? testo_json(dati_pagina(ora->ispezione, ora->riepilogo, ora->piante,
                                             marcia ? &*marcia : nullptr))
                    : std::string("null");
  evento.problemi = e["problemi"].size();
  evento.durata_ms = e["durata_ms"].get<double>();
  evento.primo_errore = std::move(primo_errore);
  if (ora && !errore) {
    valida = std::move(ora);
  }
  stato.ultima_con_errore = errore;
  return evento;
}

std::string riga_compilazione(int numero, const EventoCompilazione& e) {
  const std::string conto = std::to_string(e.problemi) + " problemi, " +
                            std::to_string(static_cast<int>(e.durata_ms)) + " ms";
  const std::string inizio = "compilazione " + std::to_string(numero) + ": ";
  return e.primo_errore ? inizio + *e.primo_errore + " (" + conto + ")" : inizio + conto;
}

std::string testo_evento(const EventoCompilazione& e) {
  return con_campo(e.compilazione, "dati", e.dati);
}

std::string pagina_evento(const EventoCompilazione& e) {
  return pagina_con_testo_dati(
      con_campo(e.dati == "null" ? std::string("{}") : e.dati, "compilazione", e.compilazione));
}

int osserva(const RichiestaCompilazione& richiesta, int porta, std::ostream& uscita,
            std::ostream& errori) {
  piattaforma::prendi_interruzione();
  const std::vector<std::string> cartelle = {cartella_di(richiesta.linea),
                                             cartella_di(richiesta.treno)};
  const std::string nomi[] = {nome_di(richiesta.linea), nome_di(richiesta.treno)};
  std::optional<piattaforma::OsservatoreCartelle> osservatore;
  std::optional<ServizioPagina> servizio;
  try {
    osservatore.emplace(cartelle);
    servizio.emplace(porta);
  } catch (const std::exception& e) {
    errori << "compila_scenario: " << e.what() << "\n";
    return 2;
  }
  piattaforma::DiscoReale disco;
  StatoOsservazione stato;
  int numero = 0;
  auto compila = [&](int64_t rilevato) {
    const EventoCompilazione e = compila_e_descrivi(disco, richiesta, ++numero, rilevato, stato);
    // The open pages first: a page loaded in between still gets this event from its stream.
    servizio->pubblica_evento(testo_evento(e));
    servizio->pubblica_pagina(pagina_evento(e));
    uscita << riga_compilazione(numero, e) << std::endl;
  };
  compila(adesso_ms());
  uscita << "pagina su http://127.0.0.1:" << servizio->porta() << "/" << std::endl;
  // For each source, whether the last event of the change seen so far left it whole.
  bool intera[2] = {true, true};
  auto guarda = [&](const std::vector<piattaforma::FileCambiato>& eventi) {
    bool cambiato = false;
    for (const auto& f : eventi) {
      for (size_t k = 0; k < 2; ++k) {
        if (f.cartella == k && f.nome == nomi[k]) {
          intera[k] = f.completo;
          cambiato = true;
        }
      }
    }
    return cambiato;
  };
  while (!piattaforma::interruzione_richiesta()) {
    if (!guarda(osservatore->attendi(std::chrono::milliseconds(100)))) {
      continue;
    }
    const int64_t rilevato = adesso_ms();
    // Events already queued belong to the same save.
    for (auto e = osservatore->attendi(std::chrono::milliseconds(0)); !e.empty();
         e = osservatore->attendi(std::chrono::milliseconds(0))) {
      guarda(e);
    }
    // A source removed, created or written without a close yet is still being saved: the
    // rest of the burst is waited for, and then the compile takes whatever is there.
    while (!(intera[0] && intera[1])) {
      const auto e = osservatore->attendi(kQuiete);
      if (e.empty()) {
        break;
      }
      guarda(e);
    }
    intera[0] = intera[1] = true;
    compila(rilevato);
  }
  uscita << "fine" << std::endl;
  return 0;
}
