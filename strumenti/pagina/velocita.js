// The speed along the chainage of the timetable's check: the cell ceiling as steps, the
// train's ceiling, the slow-downs shaded, the fastest run, the stops, and the stretches that
// are not ok marked above it. It is one of the page's drawings (see pagina.js); it zooms and
// moves along x only, and follows the profile's view (see progressiva.js).
(function (P) {
  "use strict";
  // From the top: the band of the stretches marked, the speeds; then the axis.
  const BANDE = {segni_alto: 4, segni_basso: 16, alto: 24, basso: 214, altezza: 240};

  // The highest speed the chart shows: the highest ceiling, rounded up to 20 km/h.
  function velocita_massima(M) {
    let v = 40;
    for (const r of M.tetto) { v = Math.max(v, r[2]); }
    for (const p of M.corsa) { v = Math.max(v, p[1]); }
    return Math.ceil(v / 20) * 20;
  }

  // The path of points [metro, value, ...] of index i by `xm` and `ym`, broken where a value
  // is missing.
  function linea(punti, i, xm, ym) {
    let d = "", aperta = false;
    for (const p of punti) {
      if (p[i] === null) { aperta = false; continue; }
      d += (aperta ? "L" : "M") + xm(p[0]).toFixed(2) + " " + ym(p[i]).toFixed(1);
      aperta = true;
    }
    return d;
  }

  // The stretches not ok of M marked in the band from `alto` to `basso` of the chart, and
  // shaded from `basso` to `fondo`, each with its figures as its title.
  function segna_tratte(svg, M, xm, alto, basso, fondo) {
    const {el, testo} = P.elementi;
    for (const t of P.marcia.fuori_orario(M)) {
      const x = xm(t.da_m), larga = Math.max(xm(t.a_m) - x, 2);
      el("rect", {x, y: basso, width: larga, height: fondo - basso, "class": "tinta-tratta",
        "data-esito": t.esito}, svg);
      const segno = el("rect", {x, y: alto, width: larga, height: basso - alto, "class": "tratta-segnata",
        "data-esito": t.esito, "data-da": t.da_m, "data-a": t.a_m}, svg);
      const c = P.marcia.cifre_tratta(t);
      testo(el("title", {}, segno), c[0] + " \u2013 " + c[1] + ", " + c[2] + " m: " + c[7] + "; in orario " +
          c[3] + ", pi\u00f9 veloce " + c[4] + ", ai soli limiti " + c[5] + ", margine " + c[6]);
    }
  }

  function fai(svg, Q, ambiente) {
    const D = Q.D, M = D.marcia, lunghezza = Q.lunghezza;
    const {el, testo} = P.elementi;
    const B = BANDE, LARGO = P.progressiva.LARGO;
    svg.setAttribute("viewBox", "0 0 " + LARGO.larghezza + " " + B.altezza);
    const S = P.progressiva.scala(lunghezza);
    const {utile, xm} = S;
    el("rect", {x: LARGO.sinistra, y: B.alto, width: utile, height: B.basso - B.alto, fill: "#fbfcfd"}, svg);
    const asse = el("g", {"class": "asse-progressiva"}, svg);
    const margine = P.progressiva.margine(svg, B.altezza);
    const v_max = M ? velocita_massima(M) : 160;
    const yv = (v) => B.basso - v / v_max * (B.basso - B.alto);
    for (let v = 0; v <= v_max; v += 20) {
      el("line", {x1: LARGO.sinistra, y1: yv(v), x2: LARGO.sinistra + utile, y2: yv(v), "class": "asse"}, svg);
      if (v % 40 === 0) { margine.etichetta(yv(v) + 3, v + (v + 40 > v_max ? " km/h" : "")); }
    }
    if (M) {
      for (const r of M.rallentamenti) {
        el("rect", {x: xm(r[0]), y: B.alto, width: Math.max(xm(r[1]) - xm(r[0]), 2), height: B.basso - B.alto,
          "class": "rallentamento-marcia"}, svg);
      }
      segna_tratte(svg, M, xm, B.segni_alto, B.segni_basso, B.basso);
      const G = P.geometria;
      el("path", {d: G.gradini(M.tetto, xm, yv), "class": "tetto-marcia"}, svg);
      el("path", {d: G.gradini(M.tetto_treno, xm, yv), "class": "tetto-treno"}, svg);
      el("path", {d: linea(M.corsa, 1, xm, yv), "class": "corsa-velocita"}, svg);
      for (const p of M.punti) {
        const x = xm(p.metro);
        el("line", {x1: x, x2: x, y1: B.alto, y2: B.basso, "class": p.fermata ? "fermata-marcia" : "passaggio-marcia"}, svg);
        el("path", {d: "M" + x.toFixed(2) + " " + yv(0) + "h0", "class": "punto-fermata"}, svg);
        const presa = el("line", {x1: x, x2: x, y1: B.alto, y2: B.basso, "class": "presa-stazione"}, svg);
        testo(el("title", {}, presa), p.nome + (p.fermata ? ": ferma, arrivo " + P.formato.ora(p.arrivo) +
            ", partenza " + P.formato.ora(p.partenza) : ": passa alle " + P.formato.ora(p.partenza)));
        presa.addEventListener("click", (e) => { e.stopPropagation(); ambiente.vai(p.metro); });
      }
    }
    margine.in_cima();
    const cursore = el("line", {y1: B.alto, y2: B.basso, "class": "cursore", visibility: "hidden"}, svg);
    const cambiati = el("g", {"class": "cambiati"}, svg);
    return P.progressiva.disegno(svg, "velocita", Q, ambiente, {
      S, chiave: chiave(Q), alto: B.alto, basso: B.basso, altezza: B.altezza, asse, margine, cursore,
      cambiati,
    });
  }

  // What the chart draws: the check and the line's length.
  function chiave(Q) { return [Q.lunghezza, Q.D.marcia || null]; }

  P.velocita = {nome: "velocita", fai, chiave, velocita_massima, linea, segna_tratte};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
