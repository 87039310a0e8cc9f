// The time along the chainage of the timetable's check: the timetable's points and its path
// between them against the fastest run from each stretch's departure, time downwards, and the
// stretches that are not ok marked above it, with the fastest arrival's lateness at each one's
// end. It is one of the page's drawings (see pagina.js); it zooms and moves along x only,
// follows the profile's view, and fits its time axis to the times of the metres shown.
(function (P) {
  "use strict";
  const BANDE = {segni_alto: 4, segni_basso: 16, alto: 26, basso: 246, altezza: 272};
  // The room kept above and below the times shown, as a share of them.
  const AGIO = 0.06;

  // The transform that puts times t0 (at `alto`) to t1 (at `basso`) on the chart, from
  // drawing units where y is the time in seconds.
  function trasformazione_tempi(t0, t1, alto, basso) {
    const k = (basso - alto) / Math.max(t1 - t0, 1);
    return {k, b: alto - t0 * k, testo: "matrix(1 0 0 " + k + " 0 " + (alto - t0 * k) + ")"};
  }

  // The times shown for the span [primo, ultimo], with room around them; never less than two
  // minutes.
  function tempi_con_agio(intervallo) {
    const [a, b] = intervallo;
    const mezzo = (a + b) / 2, ampio = Math.max(b - a, 120) * (1 + 2 * AGIO);
    return [mezzo - ampio / 2, mezzo + ampio / 2];
  }

  // A path through [metro, time] points, x by `xm`, y the time itself.
  function linea_tempi(punti, xm) {
    return punti.map((p, i) => (i ? "L" : "M") + xm(p[0]).toFixed(2) + " " + p[1]).join("");
  }

  function fai(svg, Q, ambiente) {
    const D = Q.D, M = D.marcia, lunghezza = Q.lunghezza;
    const {el, testo, a_misura} = P.elementi;
    const B = BANDE, LARGO = P.progressiva.LARGO;
    svg.setAttribute("viewBox", "0 0 " + LARGO.larghezza + " " + B.altezza);
    const S = P.progressiva.scala(lunghezza);
    const {utile, xm} = S;
    el("rect", {x: LARGO.sinistra, y: B.alto, width: utile, height: B.basso - B.alto, fill: "#fbfcfd"}, svg);
    const asse = el("g", {"class": "asse-progressiva"}, svg);
    const griglia = el("g", {"class": "asse-tempi"}, svg);
    const margine = P.progressiva.margine(svg, B.altezza);
    // Everything timed is drawn with the time as y, and the view puts the times it shows in
    // place; strokes and dots keep their size on screen.
    const tempi = el("g", {"class": "tempi"}, svg);
    let linee = [];
    if (M && M.tratte.length) {
      P.velocita.segna_tratte(svg, M, xm, B.segni_alto, B.segni_basso, B.basso);
      svg.appendChild(tempi);
      const corse = P.marcia.corse_dall_orario(M);
      const orario = P.marcia.linea_orario(M);
      linee = corse.concat([orario]);
      for (const c of corse) {
        if (c.length) { el("path", {d: linea_tempi(c, xm), "class": "corsa-tempi"}, tempi); }
      }
      el("path", {d: linea_tempi(orario, xm), "class": "orario-programmato"}, tempi);
      for (const p of M.punti) {
        el("path", {d: "M" + xm(p.metro).toFixed(2) + " " + p.arrivo + "V" + p.partenza + "h0",
          "class": "punto-orario", "data-voce": p.voce}, tempi);
      }
      // At the end of each stretch not ok, the fastest arrival after the scheduled one.
      M.tratte.forEach((t, k) => {
        const c = corse[k];
        if (t.esito === "ok" || !c.length || c[c.length - 1][0] !== t.a_m) { return; }
        const x = xm(t.a_m).toFixed(2), arrivo = M.punti[k + 1].arrivo, veloce = c[c.length - 1][1];
        el("path", {d: "M" + x + " " + arrivo + "V" + veloce, "class": "ritardo-tratta",
          "data-esito": t.esito}, tempi);
      });
    }
    const tutti = P.marcia.tempi_in_vista(linee, -Infinity, Infinity);
    if (!tutti) {
      testo(el("text", {x: LARGO.sinistra + utile / 2, y: (B.alto + B.basso) / 2, "text-anchor": "middle",
        "class": "nessuna-marcia"}, svg), "nessun orario da mostrare");
    }
    margine.in_cima();
    // The time labels, over the labels' ground.
    const ore = el("g", {"class": "ore-asse"}, svg);
    const cursore = el("line", {y1: B.alto, y2: B.basso, "class": "cursore", visibility: "hidden"}, svg);
    const cambiati = el("g", {"class": "cambiati"}, svg);

    // The times of the metres shown, fitted between the band's edges, and their axis.
    function disponi(v, base) {
      griglia.textContent = "";
      ore.textContent = "";
      if (!tutti) { return; }
      const [m0, m1] = P.progressiva.metri_in_vista(v, base, S);
      const [t0, t1] = tempi_con_agio(P.marcia.tempi_in_vista(linee, m0, m1) || tutti);
      const T = trasformazione_tempi(t0, t1, B.alto, B.basso);
      tempi.setAttribute("transform", T.testo);
      svg.setAttribute("data-tempi", Math.round(t0) + " " + Math.round(t1));
      const kx = v[2] / base[2], passo = P.marcia.passo_tempo(t1 - t0);
      for (let t = Math.ceil(t0 / passo) * passo; t <= t1; t += passo) {
        const y = T.k * t + T.b;
        el("line", {x1: v[0], x2: v[0] + v[2], y1: y, y2: y, "class": "asse"}, griglia);
        const x = v[0] + (LARGO.sinistra - 6) * kx;
        const e = testo(el("text", {x, y: y + 3, "text-anchor": "end", fill: "#66727f", "class": "ora-asse"}, ore),
            P.marcia.ora_asse(t, passo));
        a_misura(e, x, y + 3, kx, 1);
      }
    }
    return P.progressiva.disegno(svg, "tempi", Q, ambiente, {
      S, chiave: P.velocita.chiave(Q), alto: B.alto, basso: B.basso, altezza: B.altezza, asse, margine,
      cursore, cambiati, disponi,
    });
  }

  P.tempi = {nome: "tempi", fai, chiave: (Q) => P.velocita.chiave(Q), trasformazione_tempi, tempi_con_agio,
    linea_tempi};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
