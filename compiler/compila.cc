#include "compiler/compila.h"

#include <exception>
#include <new>

#include "compiler/abbattimenti.h"
#include "compiler/codici_gara.h"
#include "compiler/scrittore_byte.h"
#include "compiler/scrivi_binario.h"
#include "compiler/sorgenti_da_leggere.h"

namespace {

// The entry whose text its 16-bit length field cannot carry, if any.
std::optional<size_t> voce_troppo_lunga(const Scenario& s) {
  for (size_t i = 0; i < s.voci.size(); ++i) {
    if (s.voci[i].testo.size() > kMassimoTesto) {
      return i;
    }
  }
  return std::nullopt;
}

// Where a failure after the parse is reported: at the given row when there is one, else at
// the row that gave the track its length.
Luogo luogo_o_lunghezza(const std::optional<Luogo>& luogo, const EsitoLettura& lettura) {
  return luogo && !luogo->file.empty() ? *luogo : lettura.riga_lunghezza;
}

}  // namespace

namespace {

void completa(Compilazione& c, const EsitoLettura& lettura) {
  Scenario& s = c.scenario;
  if (std::optional<Problema> p = passata(s, c.provenienze)) {
    c.problemi.push_back(std::move(*p));
  }
  if (s.percorso.size() < 2) {
    c.guasto = Problema{0, lettura.riga_lunghezza, testo_senza_cella_1(s), std::nullopt};
    return;
  }
  if (const std::optional<int32_t> conflitto = timbra(s)) {
    c.timbri =
        Problema{*conflitto, luogo_o_lunghezza(c.provenienze.di(1), lettura), {}, std::nullopt};
    return;
  }
  if (const std::optional<size_t> i = voce_troppo_lunga(s)) {
    const Voce& v = s.voci[*i];
    c.guasto = Problema{0, luogo_o_lunghezza(lettura.campi_testo[*i], lettura),
                        "voce " + std::to_string(*i) + ": testo di " +
                            std::to_string(v.testo.size()) + " byte, oltre i " +
                            std::to_string(kMassimoTesto) + " che il file delle voci porta",
                        std::nullopt};
    return;
  }
  Immagini immagini;
  if (s.con_tracciato != 0) {
    immagini.tracciato = immagine_tracciato(s.tracciato);
  }
  immagini.voci = immagine_voci(s.voci);
  immagini.percorso = immagine_percorso(s.percorso);
  c.immagini = std::move(immagini);
}

}  // namespace

void completa_compilazione(Compilazione& c, const EsitoLettura& lettura) {
  try {
    completa(c, lettura);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    // Nothing the sources hold is known to get here; should something, it is reported as
    // the compile's failure rather than ending the caller.
    c.immagini.reset();
    c.guasto = Problema{0, lettura.riga_lunghezza, e.what(), std::nullopt};
  }
}

std::optional<Problema> passata(Scenario& s, const Provenienze& provenienze) {
  const std::optional<ProblemaDellaPassata> p = aggiungi_abbattimenti(s);
  if (!p) {
    return std::nullopt;
  }
  // Found after every row was read: the problem names the row of the item it is about.
  return Problema{p->codice, provenienze.di(p->cella_elemento).value_or(Luogo{}), {}, std::nullopt};
}

Compilazione compila(std::optional<std::string_view> linea, std::optional<std::string_view> treno,
                     const OpzioniCompilazione& opzioni) {
  return compila(linea, treno, opzioni, Tracciato{});
}

Compilazione compila(std::optional<std::string_view> linea, std::optional<std::string_view> treno,
                     const OpzioniCompilazione& opzioni, Tracciato spazio) {
  SorgentiInMemoria sorgenti(linea, treno);
  Compilazione c = compila(sorgenti, opzioni, std::move(spazio));
  c.linea_eliminata = sorgenti.eliminata(Sorgente::linea);
  c.treno_eliminato = sorgenti.eliminata(Sorgente::treno);
  return c;
}

Compilazione compila(SorgentiDaLeggere& sorgenti, const OpzioniCompilazione& opzioni,
                     Tracciato spazio) {
  Compilazione c;
  Scenario& s = c.scenario;
  s.tracciato = std::move(spazio);
  s.tracciato.svuota();
  s.nome_scenario = opzioni.nome_scenario;
  s.numero_treno = opzioni.numero_treno;
  s.con_tracciato = opzioni.con_tracciato ? 1 : 0;
  EsitoLettura lettura = memorizza_dati(s, sorgenti);
  c.problemi = std::move(lettura.problemi);
  c.avvisi = std::move(lettura.avvisi);
  c.provenienze = std::move(lettura.provenienze);
  c.campi_testo = lettura.campi_testo;
  if (s.percorso.empty()) {
    return c;
  }
  completa_compilazione(c, lettura);
  return c;
}
