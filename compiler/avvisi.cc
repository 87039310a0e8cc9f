#include "compiler/avvisi.h"

#include <algorithm>

#include "compiler/parole_chiave.h"

namespace {

bool vuoto(std::string_view campo) {
  return campo.find_first_not_of(' ') == std::string_view::npos;
}

bool e_intestazione(std::string_view campo) {
  return contiene(campo, "[") && contiene(campo, "]");
}

// A header as the eye reads it: without the spaces around it, in lower case.
std::string forma_dell_intestazione(std::string_view testo) {
  const size_t inizio = testo.find_first_not_of(' ');
  const size_t fine = testo.find_last_not_of(' ');
  std::string forma(testo.substr(inizio, fine - inizio + 1));
  std::transform(forma.begin(), forma.end(), forma.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return forma;
}

// The place where the reader's next field begins, on the line it stands on.
Luogo prossimo_campo(const std::string& file, const LettoreCampi& in) {
  return {file, in.riga_in_corso(), in.colonna_prossimo_campo()};
}

// More of the row's own line is left to read: the reader stopped at a comma, not at the line's
// end.
bool resto_sulla_riga(const LettoreCampi& in) {
  return !in.alla_fine() && !in.a_inizio_riga();
}

}  // namespace

void RaccoltaAvvisi::aggiungi(TipoAvviso tipo, const Luogo& dove, std::string testo,
                              std::optional<Luogo> nota, std::string testo_nota) {
  avvisi_.push_back({tipo, dove, std::move(testo), std::move(nota), std::move(testo_nota)});
}

bool RaccoltaAvvisi::riga_gia_avvisata(const Luogo& dove) const {
  return riga_avvisata_.riga == dove.riga && riga_avvisata_.file == dove.file;
}

void RaccoltaAvvisi::prima_di_generale(std::string_view campo, const Luogo& dove) {
  // One warning a line, and none for a blank line or a comment.
  const bool stessa_riga = !prima_di_generale_.empty() &&
                           prima_di_generale_.back().luogo.riga == dove.riga &&
                           prima_di_generale_.back().luogo.file == dove.file;
  if (stessa_riga || vuoto(campo) || contiene(campo, "-")) {
    return;
  }
  prima_di_generale_.push_back({TipoAvviso::prima_di_generale,
                                dove,
                                "riga prima di [generale]: viene ignorata",
                                std::nullopt,
                                {}});
}

void RaccoltaAvvisi::generale_trovata(std::string_view intestazione_generale, const Luogo& dove) {
  avvisi_.insert(avvisi_.end(), prima_di_generale_.begin(), prima_di_generale_.end());
  prima_di_generale_.clear();
  intestazione(intestazione_generale, dove);
}

void RaccoltaAvvisi::generale_mancante(const std::string& file) {
  prima_di_generale_.clear();
  aggiungi(TipoAvviso::prima_di_generale, {file, 0, 0},
           "la sorgente non ha la sezione [generale]: nessuna sua riga viene letta");
}

void RaccoltaAvvisi::intestazione(std::string_view testo, const Luogo& dove) {
  if (dove.file != file_intestazioni_) {
    file_intestazioni_ = dove.file;
    intestazioni_.clear();
  }
  std::string forma = forma_dell_intestazione(testo);
  for (const auto& [vista, dove_vista] : intestazioni_) {
    if (vista == forma) {
      aggiungi(TipoAvviso::sezione_ripetuta, dove, "sezione gia' aperta prima", dove_vista,
               "la prima volta e' qui");
      return;
    }
  }
  intestazioni_.emplace_back(std::move(forma), dove);
}

void RaccoltaAvvisi::riga_letta(std::string_view parola, const Luogo& riga, bool riconosciuta,
                                bool con_tracciato, bool in_generale, const LettoreCampi& in) {
  if (e_intestazione(parola) && !riconosciuta) {
    intestazione(parola, riga);
    return;
  }
  if (!riconosciuta) {
    if (vuoto(parola) || riga_gia_avvisata(riga)) {
      return;
    }
    if (!con_tracciato && contiene(parola, "curva")) {
      // Every curve row is ignored alike: the first one says it for all.
      if (!curve_avvisate_) {
        aggiungi(TipoAvviso::curva_ignorata, riga,
                 "senza tracciato la pianta della linea non si costruisce: questa curva e le "
                 "seguenti vengono ignorate");
        curve_avvisate_ = true;
      }
    } else {
      aggiungi(TipoAvviso::riga_sconosciuta, riga,
               in_generale ? "non e' una riga della sezione [generale]: viene ignorata"
                           : "nessun tipo di riga ha questa parola chiave: viene ignorata");
    }
    riga_avvisata_ = riga;
    return;
  }
  if (in.riga() > riga.riga) {
    // The row's last value was taken from a later line, whose own row is lost.
    const Luogo ultimo{riga.file, in.riga(), in.colonna()};
    aggiungi(TipoAvviso::valori_dalla_riga_dopo, riga,
             "alla riga mancano dei valori: vengono presi dalle righe dopo", ultimo,
             "l'ultimo valore della riga e' letto qui");
    riga_avvisata_ = ultimo;
    return;
  }
  if (resto_sulla_riga(in) && !riga_gia_avvisata(riga)) {
    const Luogo dove = prossimo_campo(riga.file, in);
    aggiungi(TipoAvviso::valori_in_piu, dove,
             "valore in piu' dopo quelli della riga: viene letto come parola chiave");
    riga_avvisata_ = dove;
  }
}

void RaccoltaAvvisi::in_ordine(RigheOrdinate tipo, int64_t inizio, int64_t fine,
                               const Luogo& dove) {
  std::optional<Precedente>& precedente = precedenti_[static_cast<size_t>(tipo)];
  if (precedente && inizio < precedente->fine) {
    const bool tratto = tipo == RigheOrdinate::curve || tipo == RigheOrdinate::montagne;
    aggiungi(TipoAvviso::fuori_ordine, dove,
             tratto ? "riga fuori ordine: comincia prima che finisca la precedente dello stesso "
                      "tipo"
                    : "riga fuori ordine: la sua posizione viene prima di quella della "
                      "precedente dello stesso tipo",
             precedente->dove, "la riga precedente");
  }
  precedente = Precedente{fine, dove};
}

void RaccoltaAvvisi::testo_letto(const Luogo& dove, const LettoreCampi& in) {
  if (!resto_sulla_riga(in)) {
    return;
  }
  const Luogo resto = prossimo_campo(dove.file, in);
  aggiungi(TipoAvviso::testo_tagliato, resto,
           "il testo finisce alla virgola: nel file delle voci va solo la parte prima", dove,
           "il testo comincia qui");
  riga_avvisata_ = resto;
}
