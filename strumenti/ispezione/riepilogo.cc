#include "strumenti/ispezione/riepilogo.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "model/formato_percorso.h"
#include "model/formato_voci.h"
#include "sources/codifica_1252.h"

namespace {

// The warning board of a slow-down stands 1200 m, 24 cells, before its start.
constexpr int32_t kCelleAvviso = 24;

int32_t metro_dopo(size_t k) {
  return kMetriCella * (static_cast<int32_t>(k) - 1);
}

// Runs of equal values of one field along the track.
std::vector<Intervallo> intervalli(const std::vector<Cella>& celle,
                                   const std::function<int(const Cella&)>& campo) {
  std::vector<Intervallo> out;
  for (size_t k = 0; k < celle.size(); ++k) {
    const int v = campo(celle[k]);
    const auto da = static_cast<int32_t>(k) * kMetriCella;
    if (!out.empty() && out.back().valore == v && out.back().a == da) {
      out.back().a = da + kMetriCella;
    } else {
      out.push_back({da, da + kMetriCella, v});
    }
  }
  return out;
}

// printf formatting into a string of whatever length it takes.
template <typename... T>
std::string formato(const char* f, T... valori) {
  const int n = std::snprintf(nullptr, 0, f, valori...);
  std::string s(static_cast<size_t>(std::max(n, 0)), '\0');
  std::snprintf(s.data(), s.size() + 1, f, valori...);
  return s;
}

// Ranges of one layer, a range whose cells hold 0 (no row set it) said as such.
void scrivi_intervalli(std::string& t, const char* titolo, const std::vector<Intervallo>& v,
                       const std::function<std::string(int)>& valore) {
  t += std::string(titolo) + ":\n";
  for (const Intervallo& i : v) {
    t += formato("  %8d - %8d m  %s\n", i.da, i.a,
                 i.valore == 0 ? "non impostata" : valore(i.valore).c_str());
  }
}

}  // namespace

std::string chilometri(std::optional<int32_t> m) {
  if (!m) {
    return "-";
  }
  const int64_t v = *m;
  const int64_t a = v < 0 ? -v : v;
  return formato("%s%lld.%03lld", v < 0 ? "-" : "", static_cast<long long>(a / 1000),
                 static_cast<long long>(a % 1000));
}

std::vector<RiferimentoChilometrico> riferimenti_chilometrici(
    const std::array<Voce, kNumeroVoci>& voci) {
  std::vector<RiferimentoChilometrico> riferimenti;
  for (int k : {kVoceProgressivaTre, kVoceProgressivaDue, kVoceProgressivaUno}) {
    const Voce& v = voci[static_cast<size_t>(k)];
    riferimenti.push_back({k, v.inizio_area, v.fine_area, v.progressiva_voce});
  }
  return riferimenti;
}

std::vector<TrattoChilometrico> tratti_chilometrici(
    const std::vector<RiferimentoChilometrico>& riferimenti) {
  std::vector<TrattoChilometrico> tratti;
  for (const RiferimentoChilometrico& r : riferimenti) {
    if (r.posizione == 0 && r.valore == 0 && r.verso == 0) {
      continue;
    }
    // Of two references from the same position, the first in the ordered slots applies.
    const bool gia = std::any_of(tratti.begin(), tratti.end(),
                                 [&](const TrattoChilometrico& t) { return t.da == r.posizione; });
    if (!gia) {
      tratti.push_back(
          {r.posizione, int64_t{r.valore} - kAggiuntaRiferimento, r.verso == 1 ? -1 : 1});
    }
  }
  std::sort(tratti.begin(), tratti.end(),
            [](const TrattoChilometrico& a, const TrattoChilometrico& b) { return a.da < b.da; });
  return tratti;
}

std::optional<int32_t> chilometrica(const std::vector<RiferimentoChilometrico>& riferimenti,
                                    int32_t p) {
  std::optional<int32_t> lettura;
  for (const TrattoChilometrico& t : tratti_chilometrici(riferimenti)) {
    if (t.da <= p) {
      lettura = static_cast<int32_t>(t.base + t.segno * int64_t{p});
    }
  }
  return lettura;
}

std::string ora_del_giorno(int32_t secondi) {
  return formato("%d:%02d:%02d", secondi / 3600, secondi / 60 % 60, secondi % 60);
}

Riepilogo riepiloga(const TracciatoLetto& tracciato, const std::array<Voce, kNumeroVoci>& voci,
                    const std::vector<Cella>& percorso) {
  Riepilogo r;
  const Voce& treno = voci[kVoceTreno];
  const Voce& scenario = voci[kVoceScenario];
  const Voce& ripetizione = voci[kVoceRipetizione];
  r.lunghezza = treno.fine_area;
  r.celle = static_cast<int32_t>(percorso.size());
  r.punti = tracciato.esiste() ? tracciato.ultimo_punto() + 1 : 0;
  r.massa_frenata = treno.inizio_area;
  r.numero_vetture = treno.progressiva_voce;
  r.sabbia = ripetizione.dato_1;
  r.orologio = {ripetizione.dato_3, ripetizione.dato_4, ripetizione.dato_5};
  r.sfondo = {scenario.inizio_area, scenario.progressiva_voce, scenario.fine_area};
  r.ripetizione = {ripetizione.inizio_area, ripetizione.fine_area, ripetizione.progressiva_voce};

  // The x column, then the y column, as the plan stores them: a long line's million points are
  // walked straight through, not one checked lookup at a time, into a local extent that the
  // compiler can keep in registers.
  Estensione estesa;
  const auto punti = static_cast<size_t>(r.punti);
  const std::vector<Etichetta>& etichette = tracciato.etichette();
  const std::vector<double>& valori = tracciato.valori();
  for (size_t i = 0; i < punti; ++i) {
    if (etichette[i] == Etichetta::vuoto || etichette[punti + i] == Etichetta::vuoto) {
      continue;
    }
    const double x = valori[i];
    const double y = valori[punti + i];
    if (!estesa.esiste) {
      estesa = {true, x, x, y, y};
    }
    estesa.min_x = std::min(estesa.min_x, x);
    estesa.max_x = std::max(estesa.max_x, x);
    estesa.min_y = std::min(estesa.min_y, y);
    estesa.max_y = std::max(estesa.max_y, y);
  }
  r.estensione = estesa;

  r.riferimenti = riferimenti_chilometrici(voci);

  // Stations fill the entries from 1 upward and sign texts from 80 downward: the stations are
  // the entries in use below the lowest entry that a sign board names.
  int primo_cartello = kPrimaVoceCartello + 1;
  for (size_t k = 0; k < percorso.size(); ++k) {
    const Cella& c = percorso[k];
    switch (c.genere) {
      case kSegnale:
        r.segnali.push_back({static_cast<int32_t>(k),
                             metro_dopo(k),
                             {c.valore_1, c.valore_2, c.valore_3, c.valore_4},
                             c.tempo_segnale});
        break;
      case kIndicatoreVelocita: {
        CartelloVelocita b{static_cast<int32_t>(k), metro_dopo(k), {}, {}, c.valore_4};
        const std::array<int, 3> v = {c.valore_1, c.valore_2, c.valore_3};
        for (size_t i = 0; i < 3; ++i) {
          const CoppiaVelocita coppia = spacchetta_coppia(static_cast<int16_t>(v[i]));
          b.velocita[i] = coppia.prima;
          b.aggiunta[i] = coppia.seconda;
        }
        r.cartelli_velocita.push_back(b);
        break;
      }
      case kCartello:
        if (c.valore_1 >= 1 && c.valore_1 <= kPrimaVoceCartello) {
          primo_cartello = std::min(primo_cartello, static_cast<int>(c.valore_1));
          r.cartelli_testo.push_back({static_cast<int32_t>(k), metro_dopo(k), c.valore_1,
                                      da_1252(voci[static_cast<size_t>(c.valore_1)].testo)});
        }
        break;
      case kInizioRallentamento: {
        RallentamentoLetto s{metro_dopo(k), metro_dopo(k), c.valore_1, std::nullopt};
        for (size_t e = k + 1; e < percorso.size(); ++e) {
          if (percorso[e].genere == kFineRallentamento) {
            s.fine = metro_dopo(e);
            break;
          }
        }
        if (k >= kCelleAvviso && percorso[k - kCelleAvviso].genere == kAvvisoRallentamento) {
          s.avviso = metro_dopo(k - kCelleAvviso);
        }
        r.rallentamenti.push_back(s);
        break;
      }
      case kAbbattimentoConVelocita:
      case kAbbattimentoSenzaVelocita:
        r.abbattimenti.push_back({static_cast<int32_t>(k), static_cast<int32_t>(k) * kMetriCella,
                                  c.genere == kAbbattimentoConVelocita ? c.valore_1 : 0});
        break;
      default:
        break;
    }
  }

  for (int i = 1; i < primo_cartello && voci[static_cast<size_t>(i)] != Voce{}; ++i) {
    const Voce& v = voci[static_cast<size_t>(i)];
    StazioneLetta s{i,           da_1252(v.testo), v.progressiva_voce, v.inizio_area,
                    v.fine_area, v.categoria,      v.marca_3,          v.orario,
                    -1,          std::nullopt};
    for (size_t k = 0; k < percorso.size(); ++k) {
      if (percorso[k].genere == kFermata && percorso[k].valore_1 == i) {
        s.cella_fermata = static_cast<int32_t>(k);
      }
    }
    s.chilometrica = chilometrica(r.riferimenti, s.posizione);
    r.stazioni.push_back(std::move(s));
  }

  for (const Intervallo& g : intervalli(percorso, [](const Cella& c) { return c.galleria; })) {
    if (g.valore != 0) {
      r.gallerie.push_back(g);
    }
  }
  r.velocita_massima = intervalli(percorso, [](const Cella& c) { return velocita_della_cella(c.velocita_massima); });
  r.pendenza = intervalli(percorso, [](const Cella& c) { return c.pendenza_cella; });
  r.aderenza = intervalli(percorso, [](const Cella& c) { return c.aderenza_cella; });
  return r;
}

std::string testo_riepilogo(const Riepilogo& r) {
  std::string t;
  t += formato("Linea di %d m; percorso di %d celle da 50 m; tracciato di %d punti\n", r.lunghezza,
               r.celle, r.punti);
  if (r.estensione.esiste) {
    const Estensione& e = r.estensione;
    t += formato("Estensione del tracciato: x da %.0f a %.0f m, y da %.0f a %.0f m\n", e.min_x,
                 e.max_x, e.min_y, e.max_y);
  } else {
    t += "Estensione del tracciato: nessun punto calcolato\n";
  }
  t += formato("Treno: %d vetture, massa frenata %d%%, sabbia %d, orologio %s\n", r.numero_vetture,
               r.massa_frenata, r.sabbia,
               ora_del_giorno(r.orologio[0] * 3600 + r.orologio[1] * 60 + r.orologio[2]).c_str());
  t += formato("Sfondo: %d, %d, %d; ripetizione dei segnali: %d, %d, codici %d\n", r.sfondo[0],
               r.sfondo[1], r.sfondo[2], r.ripetizione[0], r.ripetizione[1], r.ripetizione[2]);

  t += "\nProgressive chilometriche:\n";
  for (const RiferimentoChilometrico& p : r.riferimenti) {
    if (p.posizione == 0 && p.valore == 0 && p.verso == 0) {
      t += formato("  voce %d: azzerata, non si applica\n", p.voce);
      continue;
    }
    t += formato("  voce %d: dalla posizione %d m, valore %d m, %s\n", p.voce, p.posizione,
                 p.valore, p.verso == 1 ? "decrescente" : "crescente");
  }

  t += formato("\nStazioni in ordine di marcia (%zu):\n", r.stazioni.size());
  t += "  voce  nome                       posizione        area                km  cat  sosta  "
       "orario\n";
  for (const StazioneLetta& s : r.stazioni) {
    t += formato("  %4d  %-24s %9d  %8d - %8d  %9s  %3d  %4d s  %s\n", s.voce, s.nome.c_str(),
                 s.posizione, s.inizio_area, s.fine_area, chilometri(s.chilometrica).c_str(),
                 s.categoria, s.sosta, s.orario == 0 ? "-" : ora_del_giorno(s.orario).c_str());
  }

  t += formato("\nSegnali (%zu):\n", r.segnali.size());
  t += "  posizione   cella  valori                     tempo\n";
  for (const SegnaleLetto& s : r.segnali) {
    t += formato("  %9d  %6d  %6d %6d %6d %6d  %5d\n", s.posizione, s.cella, s.valori[0],
                 s.valori[1], s.valori[2], s.valori[3], s.tempo);
  }

  t += formato("\nCartelli di velocita' per rango (%zu), km/h:\n", r.cartelli_velocita.size());
  t += "  posizione      A     B     C  strisce\n";
  for (const CartelloVelocita& b : r.cartelli_velocita) {
    t += formato("  %9d  %5d %5d %5d  %7d\n", b.posizione, b.velocita[0], b.velocita[1],
                 b.velocita[2], b.strisce);
  }

  t += formato("\nCartelli con testo (%zu):\n", r.cartelli_testo.size());
  for (const CartelloTesto& c : r.cartelli_testo) {
    t += formato("  %9d  voce %2d  %s\n", c.posizione, c.voce, c.testo.c_str());
  }

  t += formato("\nRallentamenti (%zu):\n", r.rallentamenti.size());
  for (const RallentamentoLetto& s : r.rallentamenti) {
    t += formato("  %8d - %8d m (%d m) a %d km/h", s.inizio, s.fine, s.fine - s.inizio, s.velocita);
    t += s.avviso ? formato(", avviso a %d m\n", *s.avviso) : std::string(", senza avviso\n");
  }

  t += formato("\nPunti di abbattimento (%zu):\n", r.abbattimenti.size());
  for (const Abbattimento& a : r.abbattimenti) {
    t += a.velocita > 0 ? formato("  %9d  %d km/h\n", a.posizione, a.velocita)
                        : formato("  %9d  senza velocita'\n", a.posizione);
  }

  t += formato("\nGallerie (%zu):\n", r.gallerie.size());
  for (const Intervallo& g : r.gallerie) {
    t += formato("  %8d - %8d m  tipo %d\n", g.da, g.a, g.valore);
  }

  t += "\n";
  scrivi_intervalli(t, "Velocita' massima", r.velocita_massima,
                    [](int v) { return std::to_string(v) + " km/h"; });
  scrivi_intervalli(t, "Pendenza", r.pendenza,
                    [](int v) { return std::to_string(v - 100) + " per mille"; });
  scrivi_intervalli(t, "Aderenza", r.aderenza, [](int v) { return std::to_string(v); });
  return t;
}
