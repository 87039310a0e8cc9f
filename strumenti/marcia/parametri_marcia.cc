#include "strumenti/marcia/parametri_marcia.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "model/nomi_file.h"

namespace {

constexpr std::array<ChiaveMarcia, 14> kChiavi = {{
    {"massa_locomotiva_t", "t", "massa della locomotiva", &ParametriMarcia::massa_locomotiva_t,
     false},
    {"massa_carro_t", "t", "massa di ogni carrozza", &ParametriMarcia::massa_carro_t, true},
    {"lunghezza_locomotiva_m", "m", "lunghezza della locomotiva",
     &ParametriMarcia::lunghezza_locomotiva_m, true},
    {"lunghezza_carro_m", "m", "lunghezza di ogni carrozza", &ParametriMarcia::lunghezza_carro_m,
     true},
    {"fattore_masse_rotanti", "", "fattore delle masse rotanti",
     &ParametriMarcia::fattore_masse_rotanti, false},
    {"sforzo_massimo_kn", "kN", "sforzo di trazione massimo", &ParametriMarcia::sforzo_massimo_kn,
     false},
    {"potenza_kw", "kW", "potenza alla ruota", &ParametriMarcia::potenza_kw, false},
    {"resistenza_costante", "N/kN", "resistenza al moto, parte costante",
     &ParametriMarcia::resistenza_costante, true},
    {"resistenza_quadratica", "N/kN/(km/h)^2",
     "resistenza al moto, parte col quadrato della velocita'",
     &ParametriMarcia::resistenza_quadratica, true},
    {"frenatura_massima_ms2", "m/s^2", "decelerazione di frenatura massima",
     &ParametriMarcia::frenatura_massima_ms2, false},
    {"frenatura_per_massa_frenata_ms2", "m/s^2",
     "decelerazione di frenatura con massa frenata al 100%",
     &ParametriMarcia::frenatura_per_massa_frenata_ms2, false},
    {"frenatura_minima_ms2", "m/s^2", "decelerazione di frenatura minima, pendenza compresa",
     &ParametriMarcia::frenatura_minima_ms2, false},
    {"gravita_ms2", "m/s^2", "accelerazione di gravita'", &ParametriMarcia::gravita_ms2, false},
    {"soglia_stretto_percento", "%", "margine sotto cui una tratta e' stretta",
     &ParametriMarcia::soglia_stretto_percento, true},
}};

const ChiaveMarcia* trova(std::string_view nome) {
  for (const ChiaveMarcia& c : kChiavi) {
    if (c.nome == nome) {
      return &c;
    }
  }
  return nullptr;
}

bool spazio(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The text without blanks at either end; `inizio` gets the offset of its first byte.
std::string_view senza_spazi(std::string_view testo, size_t& inizio) {
  size_t a = 0;
  while (a < testo.size() && spazio(testo[a])) {
    ++a;
  }
  size_t b = testo.size();
  while (b > a && spazio(testo[b - 1])) {
    --b;
  }
  inizio = a;
  return testo.substr(a, b - a);
}

bool ammesso(const ChiaveMarcia& c, double valore) {
  return std::isfinite(valore) && (c.zero_ammesso ? valore >= 0 : valore > 0);
}

std::string regola(const ChiaveMarcia& c) {
  return std::string(c.nome) + " deve essere " + (c.zero_ammesso ? "almeno 0" : "maggiore di 0");
}

}  // namespace

std::span<const ChiaveMarcia> chiavi_marcia() {
  return kChiavi;
}

std::optional<std::string> controlla(const ParametriMarcia& parametri) {
  for (const ChiaveMarcia& c : kChiavi) {
    if (!ammesso(c, parametri.*(c.campo))) {
      return regola(c) + ", non " + std::to_string(parametri.*(c.campo));
    }
  }
  return std::nullopt;
}

std::optional<std::string> imposta(ParametriMarcia& parametri, std::string_view chiave,
                                   std::string_view testo) {
  const ChiaveMarcia* c = trova(chiave);
  if (c == nullptr) {
    return "parametro sconosciuto: '" + std::string(chiave) + "'";
  }
  double valore = 0;
  const char* fine = testo.data() + testo.size();
  const auto [dove, errore] = std::from_chars(testo.data(), fine, valore);
  if (testo.empty() || errore != std::errc() || dove != fine || !std::isfinite(valore)) {
    return "valore non valido per " + std::string(c->nome) + ": '" + std::string(testo) +
           "' (serve un numero, col punto decimale)";
  }
  if (!ammesso(*c, valore)) {
    return regola(*c) + ", non " + std::string(testo);
  }
  parametri.*(c->campo) = valore;
  return std::nullopt;
}

LetturaParametri leggi_parametri(std::string_view testo, const ParametriMarcia& base) {
  LetturaParametri l{base, {}};
  std::vector<std::pair<const ChiaveMarcia*, int>> date;  // key and the line that gave it
  int numero = 0;
  size_t inizio_riga = 0;
  while (inizio_riga < testo.size()) {
    ++numero;
    size_t fine_riga = testo.find('\n', inizio_riga);
    if (fine_riga == std::string_view::npos) {
      fine_riga = testo.size();
    }
    std::string_view riga = testo.substr(inizio_riga, fine_riga - inizio_riga);
    inizio_riga = fine_riga + 1;
    riga = riga.substr(0, riga.find('#'));
    size_t a = 0;
    if (senza_spazi(riga, a).empty()) {
      continue;
    }
    const auto errore = [&](size_t colonna, std::string messaggio) {
      l.errori.push_back({numero, static_cast<int>(colonna) + 1, std::move(messaggio)});
    };
    const size_t uguale = riga.find('=');
    if (uguale == std::string_view::npos) {
      errore(a, "manca '=': ogni riga e' 'chiave = valore'");
      continue;
    }
    size_t inizio_chiave = 0;
    const std::string_view chiave = senza_spazi(riga.substr(0, uguale), inizio_chiave);
    size_t inizio_valore = 0;
    const std::string_view valore = senza_spazi(riga.substr(uguale + 1), inizio_valore);
    inizio_valore += uguale + 1;
    const ChiaveMarcia* c = trova(chiave);
    if (c == nullptr) {
      errore(inizio_chiave, "parametro sconosciuto: '" + std::string(chiave) + "'");
      continue;
    }
    bool ripetuta = false;
    for (const auto& [data, dove] : date) {
      if (data == c) {
        errore(inizio_chiave,
               std::string(c->nome) + " e' gia' dato alla riga " + std::to_string(dove));
        ripetuta = true;
      }
    }
    if (ripetuta) {
      continue;
    }
    if (auto problema = imposta(l.parametri, chiave, valore)) {
      errore(valore.empty() ? uguale + 1 : inizio_valore, std::move(*problema));
      continue;
    }
    date.emplace_back(c, numero);
  }
  return l;
}

std::string nome_file_parametri(std::string_view nome_scenario) {
  return nome_file_marcia(nome_scenario);
}
