#include "prove/sorgenti_estese.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <vector>

#include "model/nomi_file.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

constexpr int32_t kMetriMassimi = 1000000;
constexpr std::string_view kParolaLunghezza = "lunghezza percorso";

// The counts the model bounds: the tunnel tables hold 80 rows; signs and stations share 78
// entries, split as the built-in sources split them.
enum class Tetto { nessuno, gallerie, cartelli, stazioni };
constexpr std::array<int, 4> kMassimi = {0, 80, 49, 29};

// A row kind whose first value is a position along the route, recognised by the start of its
// keyword. A tunnel also ends at a position; a curve's second value is its length.
struct GenereRiga {
  std::string_view parola;
  bool curva;
  bool fine_galleria;
  Tetto tetto;
};

constexpr GenereRiga kGeneri[] = {
    {"curva", true, false, Tetto::nessuno},
    {"pendenza", false, false, Tetto::nessuno},
    {"montagna", false, true, Tetto::gallerie},
    {"indicatori_vmax", false, false, Tetto::nessuno},
    {"cartello_indicatore", false, false, Tetto::cartelli},
    {"aderenza", false, false, Tetto::nessuno},
    {"velocita", false, false, Tetto::nessuno},
    {"stazione", false, false, Tetto::stazioni},
    {"rallentamento", false, false, Tetto::nessuno},
    {"segnale", false, false, Tetto::nessuno},
};

[[noreturn]] void rifiuta(const std::string& perche) {
  throw std::invalid_argument("sorgente non estendibile: " + perche);
}

// The lines of a text whose every line ends in CR LF.
std::vector<std::string_view> righe_di(std::string_view testo) {
  std::vector<std::string_view> righe;
  size_t inizio = 0;
  while (inizio < testo.size()) {
    const size_t fine = testo.find("\r\n", inizio);
    if (fine == std::string_view::npos) {
      rifiuta("ultima riga senza CR LF");
    }
    righe.push_back(testo.substr(inizio, fine - inizio));
    inizio = fine + 2;
  }
  return righe;
}

// The fields of a row between its commas, spaces kept.
std::vector<std::string_view> campi_di(std::string_view riga) {
  std::vector<std::string_view> campi;
  size_t inizio = 0;
  for (;;) {
    const size_t virgola = riga.find(',', inizio);
    campi.push_back(riga.substr(inizio, virgola - inizio));
    if (virgola == std::string_view::npos) {
      return campi;
    }
    inizio = virgola + 1;
  }
}

const GenereRiga* genere_di(std::string_view parola_chiave) {
  for (const GenereRiga& g : kGeneri) {
    if (parola_chiave.starts_with(g.parola)) {
      return &g;
    }
  }
  return nullptr;
}

// Where the digits of a numeric field lie: [inizio, fine).
struct Cifre {
  size_t inizio;
  size_t fine;
};

Cifre cifre_di(std::string_view campo) {
  const size_t inizio = campo.find_first_of("0123456789");
  if (inizio == std::string_view::npos) {
    rifiuta("campo senza numero: \"" + std::string(campo) + "\"");
  }
  size_t fine = campo.find_first_not_of("0123456789", inizio);
  if (fine == std::string_view::npos) {
    fine = campo.size();
  }
  return {inizio, fine};
}

// A position or a length: spaces and non-negative decimal digits.
int64_t numero(std::string_view campo) {
  const Cifre c = cifre_di(campo);
  if (campo.find_first_not_of(' ') != c.inizio ||
      campo.find_first_not_of(' ', c.fine) != std::string_view::npos) {
    rifiuta("campo non numerico: \"" + std::string(campo) + "\"");
  }
  int64_t v = 0;
  std::from_chars(campo.data() + c.inizio, campo.data() + c.fine, v);
  return v;
}

// The field with its number replaced by `valore`, the spaces around it kept.
std::string con_numero(std::string_view campo, int64_t valore) {
  const Cifre c = cifre_di(campo);
  std::string r(campo.substr(0, c.inizio));
  r += std::to_string(valore);
  r += campo.substr(c.fine);
  return r;
}

struct Estensione {
  int32_t metri;
  int64_t periodo;  // the built-in length
  int64_t ripetizioni;
  std::array<int, 4> contati{};  // kept rows of each bounded kind, by Tetto

  // Counts a row of kind `t`; false when its bound has been reached.
  bool ammetti(Tetto t) {
    if (t == Tetto::nessuno) {
      return true;
    }
    const auto i = static_cast<size_t>(t);
    if (contati[i] >= kMassimi[i]) {
      return false;
    }
    ++contati[i];
    return true;
  }
};

void aggiungi_riga(std::string& testo, std::string_view riga) {
  testo += riga;
  testo += "\r\n";
}

// Row `campi` of kind `g`, moved `spostamento` metres along the route; nothing when it falls
// at or beyond the end of the new line or its kind is full.
void aggiungi_spostata(std::string& testo, Estensione& e, const GenereRiga& g,
                       const std::vector<std::string_view>& campi, int64_t spostamento) {
  if (campi.size() < 3) {
    rifiuta("riga con meno di due valori: \"" + std::string(campi[0]) + "\"");
  }
  const int64_t posizione = numero(campi[1]) + spostamento;
  if (posizione >= e.metri || (g.curva && posizione + numero(campi[2]) >= e.metri) ||
      !e.ammetti(g.tetto)) {
    return;
  }
  std::string riga(campi[0]);
  for (size_t i = 1; i < campi.size(); ++i) {
    riga += ',';
    if (i == 1 || (i == 2 && g.fine_galleria)) {
      riga += con_numero(campi[i], numero(campi[i]) + spostamento);
    } else {
      riga += campi[i];
    }
  }
  aggiungi_riga(testo, riga);
}

// A section: a header and the lines up to the next one. Sections that hold positioned rows
// are laid once per repetition under their one header; lines of no such kind (the comment of
// the gradients) only in the first. The other sections are copied once, with the new length.
void aggiungi_sezione(std::string& testo, Estensione& e,
                      const std::vector<std::string_view>& sezione) {
  bool ripetuta = false;
  for (size_t i = 1; i < sezione.size(); ++i) {
    ripetuta = ripetuta || genere_di(campi_di(sezione[i])[0]) != nullptr;
  }
  if (!ripetuta) {
    for (const std::string_view riga : sezione) {
      const std::vector<std::string_view> campi = campi_di(riga);
      if (campi[0] == kParolaLunghezza && campi.size() == 2) {
        aggiungi_riga(testo, std::string(campi[0]) + "," + con_numero(campi[1], e.metri));
      } else {
        aggiungi_riga(testo, riga);
      }
    }
    return;
  }
  aggiungi_riga(testo, sezione[0]);
  for (int64_t r = 0; r < e.ripetizioni; ++r) {
    for (size_t i = 1; i < sezione.size(); ++i) {
      const std::vector<std::string_view> campi = campi_di(sezione[i]);
      if (const GenereRiga* g = genere_di(campi[0])) {
        aggiungi_spostata(testo, e, *g, campi, r * e.periodo);
      } else if (r == 0) {
        aggiungi_riga(testo, sezione[i]);
      }
    }
  }
}

std::string estendi(std::string_view sorgente, Estensione& e) {
  std::vector<std::vector<std::string_view>> sezioni;
  for (const std::string_view riga : righe_di(sorgente)) {
    if (sezioni.empty() && !riga.starts_with('[')) {
      rifiuta("il testo non comincia con un'intestazione");
    }
    if (riga.starts_with('[')) {
      sezioni.emplace_back();
    }
    sezioni.back().push_back(riga);
  }
  std::string testo;
  testo.reserve(sorgente.size() * static_cast<size_t>(e.ripetizioni));
  for (const std::vector<std::string_view>& sezione : sezioni) {
    aggiungi_sezione(testo, e, sezione);
  }
  return testo;
}

int64_t lunghezza_della_linea(std::string_view linea) {
  for (const std::string_view riga : righe_di(linea)) {
    const std::vector<std::string_view> campi = campi_di(riga);
    if (campi[0] == kParolaLunghezza && campi.size() == 2) {
      return numero(campi[1]);
    }
  }
  rifiuta("manca la riga \"" + std::string(kParolaLunghezza) + "\"");
}

}  // namespace

SorgentiEstese estendi_sorgenti(std::string_view linea, std::string_view treno, int32_t metri) {
  if (metri < 1 || metri > kMetriMassimi) {
    throw std::invalid_argument("lunghezza " + std::to_string(metri) + " fuori da 1 - " +
                                std::to_string(kMetriMassimi));
  }
  const int64_t periodo = lunghezza_della_linea(linea);
  if (periodo <= 0) {
    rifiuta("lunghezza incorporata nulla");
  }
  Estensione e{metri, periodo, (metri + periodo - 1) / periodo};
  SorgentiEstese f;
  f.linea = estendi(linea, e);
  f.treno = estendi(treno, e);
  return f;
}

SorgentiEstese sorgenti_estese(int32_t metri) {
  return estendi_sorgenti(testo_delle_righe(dati_linea()), testo_delle_righe(dati_treno()), metri);
}

void scrivi_sorgenti(piattaforma::Disco& disco, const Scenario& s, const std::string& cartella,
                     const SorgentiEstese& f) {
  disco.ricrea(disco.percorso_in(cartella, nome_sorgente_linea(s)), f.linea);
  disco.ricrea(disco.percorso_in(cartella, nome_sorgente_treno(s)), f.treno);
}
