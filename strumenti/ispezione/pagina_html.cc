#include "strumenti/ispezione/pagina_html.h"

#include <cmath>
#include <string_view>

#include "model/formato_percorso.h"
#include "strumenti/pagina/pagina_incorporata.h"
#include "strumenti/ispezione/marcia_pagina.h"
#include "strumenti/ispezione/polilinea.h"

using nlohmann::ordered_json;

namespace {

// The plan position of a metre, when the plan has it.
ordered_json posizione_in_pianta(const TracciatoLetto& t, int32_t metro, const char* asse) {
  if (!t.esiste() || !t.contiene(metro) || t.etichetta(metro, 0) == Etichetta::vuoto ||
      t.etichetta(metro, 1) == Etichetta::vuoto) {
    return nullptr;
  }
  const double v = t.valore(metro, asse[0] == 'x' ? 0 : 1);
  return std::isfinite(v) ? ordered_json(std::round(v * 10) / 10) : ordered_json(nullptr);
}

ordered_json intervalli(const std::vector<Intervallo>& v, bool zero_vuoto, int meno = 0) {
  ordered_json a = ordered_json::array();
  for (const Intervallo& i : v) {
    a.push_back(
        {i.da, i.a,
         zero_vuoto && i.valore == 0 ? ordered_json(nullptr) : ordered_json(i.valore - meno)});
  }
  return a;
}

}  // namespace

PianteRidotte piante_ridotte(const TracciatoLetto& t) {
  return {pianta_ridotta(t, kPuntiPianta), pianta_ridotta(t, kPuntiPiantaFine, kTolleranzaPianta)};
}

ordered_json dati_pagina(const Ispezione& i, const Riepilogo& r, const Marcia* marcia) {
  return dati_pagina(i, r, piante_ridotte(i.tracciato), marcia);
}

ordered_json dati_pagina(const Ispezione& i, const Riepilogo& r, const PianteRidotte& piante,
                         const Marcia* marcia) {
  const TracciatoLetto& t = i.tracciato;
  ordered_json d;
  d["scenario"] = i.identita.scenario;
  d["treno"] = i.identita.treno;
  d["lunghezza"] = r.lunghezza;
  d["celle"] = r.celle;
  d["punti"] = r.punti;
  d["difetti"] = i.difetti.size();
  // The measures the script draws with, so that it holds no number of its own.
  d["metri_cella"] = kMetriCella;
  d["oltre_la_linea"] = kEstensione;
  if (r.estensione.esiste) {
    d["estensione"] = {{"min_x", r.estensione.min_x},
                       {"max_x", r.estensione.max_x},
                       {"min_y", r.estensione.min_y},
                       {"max_y", r.estensione.max_y}};
  } else {
    d["estensione"] = nullptr;
  }
  d["pianta"] = ordered_json::array();
  for (const PuntoPianta& p : piante.intera) {
    d["pianta"].push_back({p.metro, std::round(p.x * 10) / 10, std::round(p.y * 10) / 10});
  }
  // Points are written as whole decimetres: finer than any zoom shows.
  d["pianta_fine"] = ordered_json::array();
  for (const PuntoPianta& p : piante.fine) {
    d["pianta_fine"].push_back({p.metro, std::round(p.x * 10) / 10, std::round(p.y * 10) / 10});
  }
  d["stazioni"] = ordered_json::array();
  for (const StazioneLetta& s : r.stazioni) {
    d["stazioni"].push_back({{"voce", s.voce},
                             {"nome", s.nome},
                             {"posizione", s.posizione},
                             {"inizio", s.inizio_area},
                             {"fine", s.fine_area},
                             {"sosta", s.sosta},
                             {"orario", s.orario},
                             {"x", posizione_in_pianta(t, s.posizione, "x")},
                             {"y", posizione_in_pianta(t, s.posizione, "y")}});
  }
  d["segnali"] = ordered_json::array();
  for (const SegnaleLetto& s : r.segnali) {
    d["segnali"].push_back({{"posizione", s.posizione},
                            {"x", posizione_in_pianta(t, s.posizione, "x")},
                            {"y", posizione_in_pianta(t, s.posizione, "y")}});
  }
  d["cartelli"] = ordered_json::array();
  for (const CartelloVelocita& c : r.cartelli_velocita) {
    d["cartelli"].push_back({{"posizione", c.posizione}, {"v", c.velocita}});
  }
  d["testi"] = ordered_json::array();
  for (const CartelloTesto& c : r.cartelli_testo) {
    d["testi"].push_back({{"posizione", c.posizione}, {"testo", c.testo}});
  }
  d["rallentamenti"] = ordered_json::array();
  for (const RallentamentoLetto& s : r.rallentamenti) {
    d["rallentamenti"].push_back(
        {{"inizio", s.inizio}, {"fine", s.fine}, {"velocita", s.velocita}});
  }
  d["abbattimenti"] = ordered_json::array();
  for (const Abbattimento& a : r.abbattimenti) {
    d["abbattimenti"].push_back({{"posizione", a.posizione}, {"velocita", a.velocita}});
  }
  d["gallerie"] = intervalli(r.gallerie, false);
  d["velocita"] = intervalli(r.velocita_massima, true);
  d["pendenza"] = intervalli(r.pendenza, true, 100);
  d["aderenza"] = intervalli(r.aderenza, true);
  // The altitude climbs by the gradient over each range; a range without a gradient is flat.
  double quota = 0;
  d["quota"] = ordered_json::array();
  d["quota"].push_back({0, 0});
  for (const Intervallo& p : r.pendenza) {
    if (p.valore != 0) {
      quota += (p.valore - 100) * (p.a - p.da) / 1000.0;
    }
    d["quota"].push_back({p.a, std::round(quota * 10) / 10});
  }
  d["chilometri"] = ordered_json::array();
  for (const TrattoChilometrico& k : tratti_chilometrici(r.riferimenti)) {
    d["chilometri"].push_back({k.da, k.base, k.segno});
  }
  if (marcia != nullptr) {
    d["marcia"] = dati_marcia(*marcia, i.voci, i.percorso);
  }
  return d;
}

// The text of `testo` with every "</" written "<\/": inside a script element "</" could close
// it, and JSON may write the slash escaped.
std::string dentro_uno_script(std::string_view testo) {
  std::string sicuri;
  sicuri.reserve(testo.size());
  for (size_t k = 0; k < testo.size(); ++k) {
    sicuri += testo[k];
    if (testo[k] == '<' && k + 1 < testo.size() && testo[k + 1] == '/') {
      sicuri += '\\';
    }
  }
  return sicuri;
}

std::string testo_json(const ordered_json& j) {
  return j.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

std::string pagina_con_dati(const ordered_json& dati) {
  return pagina_con_testo_dati(testo_json(dati));
}

std::string pagina_con_testo_dati(std::string_view dati_json) {
  const std::pair<std::string_view, std::string> parti[] = {
      {"<!--ERRORI-->", "<script>\n" + std::string(kPaginaErroriJs) + "</script>"},
      {"<!--STILE-->", "<style>\n" + std::string(kPaginaCss) + "</style>"},
      {"<!--DATI-->", "<script type=\"application/json\" id=\"dati\">" +
                          dentro_uno_script(dati_json) +
                          "</script>"},
      {"<!--SCRIPT-->", "<script>\n" + std::string(kPaginaJs) + "</script>"},
  };
  std::string pagina(kPaginaHtml);
  for (const auto& [segno, testo] : parti) {
    const size_t dove = pagina.find(segno);
    if (dove != std::string::npos) {
      pagina.replace(dove, segno.size(), testo);
    }
  }
  return pagina;
}

std::string pagina_html(const Ispezione& i, const Riepilogo& r, const Marcia* marcia) {
  return pagina_con_dati(dati_pagina(i, r, marcia));
}
