// The timetable's check as the page shows it (the data's "marcia": see marcia_pagina.h): the
// fastest run's values at a metre, its time of day from each stretch's departure, the
// timetable's path, the times a view of the time chart spans and the steps of its axis, the
// words of a duration and of a verdict, and the panel that lists the stretches not ok.
(function (P) {
  "use strict";

  const ESITI = {
    "ok": "in orario",
    "stretto": "stretto",
    "impossibile": "impossibile",
    "impossibile-con-ogni-treno": "impossibile con ogni treno",
  };

  // A duration as the compiler's warnings say it: "45 s", "3 min", "4 min 3 s",
  // "1 h 2 min 5 s"; "mai" for a run that never ends (null).
  function durata(s) {
    if (s === null || !isFinite(s)) { return "mai"; }
    const totale = Math.round(Math.abs(s));
    const parti = [];
    if (totale >= 3600) { parti.push(Math.floor(totale / 3600) + " h"); }
    if (Math.floor(totale / 60) % 60 > 0) { parti.push(Math.floor(totale / 60) % 60 + " min"); }
    if (totale % 60 > 0 || parti.length === 0) { parti.push(totale % 60 + " s"); }
    return (s < 0 && totale > 0 ? "-" : "") + parti.join(" ");
  }

  // The verdict in words.
  function testo_esito(esito) { return ESITI[esito] || esito; }

  // The value at metre m of the points [metro, ...values] sorted by metre, straight between
  // them: the value of index `i`; null outside the points or where either point has none.
  function valore_a(punti, m, i) {
    if (punti.length === 0 || m < punti[0][0] || m > punti[punti.length - 1][0]) { return null; }
    let basso = 0, alto = punti.length - 1;
    while (alto - basso > 1) {
      const medio = (basso + alto) >> 1;
      if (punti[medio][0] <= m) { basso = medio; } else { alto = medio; }
    }
    const a = punti[basso], b = punti[alto];
    if (a[i] === null || b[i] === null) { return null; }
    return b[0] === a[0] ? a[i] : a[i] + (m - a[0]) / (b[0] - a[0]) * (b[i] - a[i]);
  }

  // For each stretch, the fastest run from its departure (or passing) time: [metro, time of
  // day] points from its first metre to its last; a run that never ends stops where its time
  // does.
  function corse_dall_orario(M) {
    return M.tratte.map((t, k) => {
      const partenza = M.punti[k].partenza, t0 = valore_a(M.corsa, t.da_m, 2);
      const linea = [];
      const aggiungi = (m, s) => {
        if (s !== null && t0 !== null) { linea.push([m, partenza + s - t0]); }
      };
      aggiungi(t.da_m, t0);
      for (let i = indice(M.corsa, t.da_m, true); i < M.corsa.length && M.corsa[i][0] < t.a_m; i++) {
        aggiungi(M.corsa[i][0], M.corsa[i][2]);
      }
      aggiungi(t.a_m, valore_a(M.corsa, t.a_m, 2));
      return linea;
    });
  }

  // The timetable's path: each timed point at its arrival and its departure, [metro, time].
  function linea_orario(M) {
    const linea = [];
    for (const p of M.punti) {
      linea.push([p.metro, p.arrivo]);
      if (p.partenza !== p.arrivo) { linea.push([p.metro, p.partenza]); }
    }
    return linea;
  }

  // The first index of the points [metro, ...] sorted by metre whose metre is m or more (dopo
  // false), or more than m (dopo true).
  function indice(punti, m, dopo) {
    let basso = 0, alto = punti.length;
    while (basso < alto) {
      const medio = (basso + alto) >> 1;
      if (punti[medio][0] < m || (dopo && punti[medio][0] === m)) { basso = medio + 1; } else { alto = medio; }
    }
    return basso;
  }

  // The time of line l ([metro, time] points, both rising) at metre m, inside the line: where
  // it stands still at m (a stop), its first time there, or its last (`ultimo`).
  function tempo_della_linea(l, m, ultimo) {
    const i = ultimo ? indice(l, m, true) - 1 : indice(l, m, false);
    if (l[i][0] === m) { return l[i][1]; }
    const a = ultimo ? l[i] : l[i - 1], b = ultimo ? l[i + 1] : l[i];
    return a[1] + (m - a[0]) / (b[0] - a[0]) * (b[1] - a[1]);
  }

  // The times that the lines span over the metres m0 to m1: [first, last], or null when none
  // passes there.
  function tempi_in_vista(linee, m0, m1) {
    let primo = Infinity, ultimo = -Infinity;
    for (const l of linee) {
      if (l.length === 0 || l[l.length - 1][0] < m0 || l[0][0] > m1) { continue; }
      primo = Math.min(primo, tempo_della_linea(l, Math.max(m0, l[0][0]), false));
      ultimo = Math.max(ultimo, tempo_della_linea(l, Math.min(m1, l[l.length - 1][0]), true));
    }
    return primo <= ultimo ? [primo, ultimo] : null;
  }

  // The time axis's step for a view of `secondi`: the finest round step with at most eight to
  // the view.
  const PASSI_TEMPO = [10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400];
  function passo_tempo(secondi) {
    return PASSI_TEMPO.find((p) => secondi / p <= 8) || PASSI_TEMPO[PASSI_TEMPO.length - 1];
  }

  // A time of day on the axis: h:mm, with the seconds when the step has them.
  function ora_asse(s, passo) {
    const t = ((Math.round(s) % 86400) + 86400) % 86400;
    const hm = Math.floor(t / 3600) + ":" + String(Math.floor(t / 60) % 60).padStart(2, "0");
    return passo < 60 ? hm + ":" + String(t % 60).padStart(2, "0") : hm;
  }

  // The stretches that are not ok, in running order.
  function fuori_orario(M) { return M.tratte.filter((t) => t.esito !== "ok"); }

  // A stretch's figures as the panel lists them.
  function cifre_tratta(t) {
    return [t.da, t.a, t.metri.toLocaleString("it-IT"), durata(t.programmato_s), durata(t.piu_veloce_s),
      durata(t.limite_s), durata(t.margine_s), testo_esito(t.esito)];
  }

  // What the check says at metre m, as [name, value] rows for the side panel.
  function righe_del_metro(M, m) {
    if (!M) { return []; }
    const righe = [];
    const tetto = P.geometria.nell_intervallo(M.tetto, m);
    if (tetto !== null) { righe.push(["tetto della verifica", tetto + " km/h"]); }
    const v = valore_a(M.corsa, m, 1);
    if (v !== null) { righe.push(["marcia pi\u00f9 veloce", v.toFixed(1) + " km/h"]); }
    const t = M.tratte.find((x) => m >= x.da_m && m <= x.a_m);
    if (t) { righe.push(["tratta", t.da + " \u2013 " + t.a + ": " + testo_esito(t.esito)]); }
    return righe;
  }

  // What the note above the charts says of the check M (undefined: there is none).
  function nota(M) {
    if (!M) {
      return "Nessuna verifica dell'orario: una compilazione con errori, o file con difetti, non ne ha.";
    }
    if (M.difetto) { return "Nessuna marcia: " + M.difetto + "."; }
    if (M.tratte.length === 0) { return "L'orario ha meno di due punti con un'ora: nessuna tratta da verificare."; }
    const fuori = fuori_orario(M).length;
    return M.tratte.length + " tratte, " + (fuori === 0 ? "tutte in orario" : fuori + " non in orario") +
        ". La marcia pi\u00f9 veloce sotto i tetti della linea e del treno, da fermata a fermata; " +
        "curve, aderenza e gallerie non sono contate.";
  }

  // The note and the panel of the stretches not ok; a click on one shows it through `vai`.
  function pannello(D, vai) {
    const {el_html, testo} = P.elementi;
    const M = D.marcia;
    testo(document.getElementById("nota-marcia"), nota(M));
    const corpo = document.getElementById("righe-tratte");
    corpo.textContent = "";
    const fuori = M ? fuori_orario(M) : [];
    document.getElementById("tabella-tratte").hidden = fuori.length === 0;
    for (const t of fuori) {
      const riga = el_html("tr", corpo);
      riga.setAttribute("data-esito", t.esito);
      for (const c of cifre_tratta(t)) { testo(el_html("td", riga), c); }
      riga.addEventListener("click", () => vai((t.da_m + t.a_m) / 2));
    }
  }

  P.marcia = {durata, testo_esito, valore_a, corse_dall_orario, linea_orario, tempi_in_vista,
    passo_tempo, ora_asse, fuori_orario, cifre_tratta, righe_del_metro, nota, pannello};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
