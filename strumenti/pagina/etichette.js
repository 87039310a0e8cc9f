// Where the drawings' names go: inside the drawing's edges, clear of each other and, on the
// plan, clear of the other stations' markers. A name that finds no such place is left out at
// that view (its station still names itself on hover). Boxes are [x0, y0, x1, y1].
(function (P) {
  "use strict";

  // Whether two boxes share more than an edge.
  function si_toccano(a, b) {
    return !(a[2] <= b[0] || b[2] <= a[0] || a[3] <= b[1] || b[3] <= a[1]);
  }

  // How far a label centred at `centro`, `mezza` wide on either side, must move to stand
  // between the edges `sinistra` and `destra` (0 when it does; towards the left edge when it
  // is wider than the space).
  function spostamento_nei_bordi(centro, mezza, sinistra, destra) {
    if (centro - mezza < sinistra) { return sinistra - (centro - mezza); }
    if (centro + mezza > destra) { return destra - (centro + mezza); }
    return 0;
  }

  // The text-anchor that keeps a label about `mezza` wide on either side of `centro` between
  // the edges: it starts at a left edge and ends at a right one.
  function ancora_nei_bordi(centro, mezza, sinistra, destra) {
    if (centro - mezza < sinistra) { return "start"; }
    if (centro + mezza > destra) { return "end"; }
    return "middle";
  }

  // The profile's station names, in order, each {centro, mezza} in pixels of the drawing shown
  // between the edges `sinistra` and `destra`, set in `righe` rows: each name goes to the
  // lowest row where it clears the last name by `distacco` pixels, moved inside the edges. A
  // name whose station is outside the edges is left out. Returns {riga, spostamento} for each
  // name, riga -1 for one left out.
  function righe_dei_nomi(nomi, righe, sinistra, destra, distacco) {
    const fine_riga = [];
    for (let r = 0; r < righe; r++) { fine_riga.push(-Infinity); }
    return nomi.map((n) => {
      if (n.centro < sinistra || n.centro > destra) { return {riga: -1, spostamento: 0}; }
      const spostamento = spostamento_nei_bordi(n.centro, n.mezza, sinistra, destra);
      const inizio = n.centro - n.mezza + spostamento;
      const riga = fine_riga.findIndex((f) => f + distacco <= inizio);
      if (riga >= 0) { fine_riga[riga] = n.centro + n.mezza + spostamento; }
      return {riga, spostamento: riga >= 0 ? spostamento : 0};
    });
  }

  // The plan's station names for the view v = [x, y, w, h]: each {x, y, larghezza, a_destra}
  // (its marker's point, its width at the whole view, the side it would rather take), scaled
  // by `scala` for this view. A name stands `scostamento` from its marker, `altezza` tall, on
  // its side or else the other, inside the view and clear of the names already placed and of
  // the boxes in `ostacoli` (each with the index of the name whose marker it is, or -1).
  // Returns, for each name, "destra", "sinistra" or null for one left out.
  function lati_dei_nomi(nomi, ostacoli, v, scala, misure) {
    const posti = [];
    const dentro = (r) => r[0] >= v[0] && r[2] <= v[0] + v[2] && r[1] >= v[1] && r[3] <= v[1] + v[3];
    return nomi.map((n, i) => {
      const l = n.larghezza * scala, a = misure.altezza * scala, s = misure.scostamento * scala;
      for (const a_destra of [n.a_destra, !n.a_destra]) {
        const x0 = a_destra ? n.x + s : n.x - s - l;
        const r = [x0, n.y - a / 2, x0 + l, n.y + a / 2];
        if (dentro(r) && posti.every((q) => !si_toccano(r, q)) &&
            ostacoli.every((o) => o.nome === i || !si_toccano(r, o.scatola))) {
          posti.push(r);
          return a_destra ? "destra" : "sinistra";
        }
      }
      return null;
    });
  }

  P.etichette = {si_toccano, spostamento_nei_bordi, ancora_nei_bordi, righe_dei_nomi, lati_dei_nomi};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
