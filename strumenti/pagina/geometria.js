// The page's arithmetic on its data: values of ranges at a metre, points of the reduced plan,
// the altitude, the plan fitted to its drawing, the paths drawn and the steps of the grid and
// the axis. Every function takes what it works on as arguments.
(function (P) {
  "use strict";

  // The value of a sorted list of [da, a, valore] ranges at metre m, or null.
  function nell_intervallo(lista, m) {
    let basso = 0, alto = lista.length - 1;
    while (basso <= alto) {
      const medio = (basso + alto) >> 1, r = lista[medio];
      if (m < r[0]) { alto = medio - 1; } else if (m >= r[1]) { basso = medio + 1; } else { return r[2]; }
    }
    return null;
  }

  // The last item at or before metre m of a list sorted by "posizione".
  function ultimo_prima(lista, m) {
    let trovato = null;
    for (let i = 0; i < lista.length && lista[i].posizione <= m; i++) { trovato = lista[i]; }
    return trovato;
  }

  // The plan position [x, y] of metre m, between the two points of the plan ([metro, x, y],
  // sorted by metre) around it; null outside the plan.
  function punto_a(pianta, m) {
    if (pianta.length === 0 || m < pianta[0][0] || m > pianta[pianta.length - 1][0]) { return null; }
    let basso = 0, alto = pianta.length - 1;
    while (alto - basso > 1) {
      const medio = (basso + alto) >> 1;
      if (pianta[medio][0] <= m) { basso = medio; } else { alto = medio; }
    }
    const a = pianta[basso], b = pianta[alto], t = b[0] === a[0] ? 0 : (m - a[0]) / (b[0] - a[0]);
    return [a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2])];
  }

  // The points of the plan from metre da to metre a: the two ends placed where they fall
  // between points, and the points strictly between them.
  function punti_tra(pianta, da, a) {
    const punti = [];
    const inizio = punto_a(pianta, da), fine = punto_a(pianta, a);
    if (inizio) { punti.push([da, inizio[0], inizio[1]]); }
    for (const p of pianta) { if (p[0] > da && p[0] < a) { punti.push(p); } }
    if (fine) { punti.push([a, fine[0], fine[1]]); }
    return punti;
  }

  // The altitude at metre m from the list of [metro, quota] points, straight between them.
  function quota_a(quota, m) {
    let i = 0;
    while (i + 1 < quota.length && quota[i + 1][0] <= m) { i++; }
    if (i + 1 >= quota.length) { return quota.length ? quota[quota.length - 1][1] : 0; }
    const t = (m - quota[i][0]) / (quota[i + 1][0] - quota[i][0]);
    return quota[i][1] + t * (quota[i + 1][1] - quota[i][1]);
  }

  // Whether two values read from JSON are the same.
  function stessi(a, b) {
    if (a === b) { return true; }
    if (a === null || b === null || typeof a !== "object" || typeof b !== "object" ||
        Array.isArray(a) !== Array.isArray(b)) { return false; }
    if (Array.isArray(a)) {
      if (a.length !== b.length) { return false; }
      for (let i = 0; i < a.length; i++) { if (!stessi(a[i], b[i])) { return false; } }
      return true;
    }
    const chiavi = Object.keys(a);
    return chiavi.length === Object.keys(b).length && chiavi.every(
        (k) => Object.prototype.hasOwnProperty.call(b, k) && stessi(a[k], b[k]));
  }

  // The plan's extent E ({min_x, max_x, min_y, max_y}, metres) fitted into a drawing
  // `larghezza` units wide with a margin, y upwards: the drawing's height and the function
  // from a plan point to a point of the drawing.
  function pianta_in_scala(E, larghezza) {
    const margine = 28;
    const dx = Math.max(E.max_x - E.min_x, 1), dy = Math.max(E.max_y - E.min_y, 1);
    const altezza = Math.min(Math.max(larghezza * dy / dx, 320), 560);
    const k = Math.min((larghezza - 2 * margine) / dx, (altezza - 2 * margine) / dy);
    const ox = (larghezza - k * dx) / 2, oy = (altezza - k * dy) / 2;
    return {altezza, scala: (x, y) => [ox + (x - E.min_x) * k, altezza - oy - (y - E.min_y) * k]};
  }

  // The plan's grid step: a power of ten metres, about a dozen across the larger side.
  function passo_griglia(E) {
    return Math.pow(10, Math.ceil(Math.log10(Math.max(E.max_x - E.min_x, E.max_y - E.min_y, 1) / 12)));
  }

  // The axis step for a view of `metri` metres: 1, 2 or 5 times a power of ten, about ten to
  // the view.
  function passo_asse(metri) {
    const passo = Math.pow(10, Math.floor(Math.log10(Math.max(metri / 10, 1))));
    return passo * (metri / passo > 50 ? 5 : metri / passo > 20 ? 2 : 1);
  }

  // A path through plan points ([metro, x, y]) put into the drawing by `scala`.
  function tratto(punti, scala) {
    return punti.map((p, i) => {
      const s = scala(p[1], p[2]);
      return (i ? "L" : "M") + s[0].toFixed(1) + " " + s[1].toFixed(1);
    }).join("");
  }

  // The drawing's points ([x, y]) as a path for the view v = [x, y, w, h]: only those in the
  // view or next to it, and of those only the ones at least `passo_minimo` from the last
  // drawn, so that a zoomed-out view of a long line draws no more points than pixels. Returns
  // the path and how many points it has.
  function tratto_visibile(punti, v, passo_minimo) {
    const fuori = (p) => p[0] < v[0] - v[2] || p[0] > v[0] + 2 * v[2] || p[1] < v[1] - v[3] ||
        p[1] > v[1] + 2 * v[3];
    let d = "", ultimo = null, n = 0;
    for (let i = 0; i < punti.length; i++) {
      const p = punti[i];
      if (fuori(p) && (i === 0 || fuori(punti[i - 1])) &&
          (i + 1 === punti.length || fuori(punti[i + 1]))) { ultimo = null; continue; }
      if (ultimo && i + 1 < punti.length && Math.abs(p[0] - ultimo[0]) +
          Math.abs(p[1] - ultimo[1]) < passo_minimo) { continue; }
      d += (ultimo ? "L" : "M") + p[0].toFixed(1) + " " + p[1].toFixed(1);
      ultimo = p;
      n++;
    }
    return {d, punti: n};
  }

  // The metre of the plan nearest the point p = {x, y} of the drawing, if the line passes
  // within `raggio` of it; null otherwise. `in_scala` holds the drawing's points of `pianta`.
  function metro_vicino(pianta, in_scala, p, raggio) {
    let migliore = null, distanza = Infinity;
    for (let i = 0; i + 1 < in_scala.length; i++) {
      const a = in_scala[i], b = in_scala[i + 1];
      // Segments wholly on one side of the pointer's neighbourhood cannot be the nearest.
      if ((a[0] < p.x - raggio && b[0] < p.x - raggio) || (a[0] > p.x + raggio && b[0] > p.x + raggio) ||
          (a[1] < p.y - raggio && b[1] < p.y - raggio) || (a[1] > p.y + raggio && b[1] > p.y + raggio)) {
        continue;
      }
      const lx = b[0] - a[0], ly = b[1] - a[1], l2 = lx * lx + ly * ly;
      const t = l2 ? Math.max(0, Math.min(1, ((p.x - a[0]) * lx + (p.y - a[1]) * ly) / l2)) : 0;
      const ddx = a[0] + t * lx - p.x, ddy = a[1] + t * ly - p.y, dd = ddx * ddx + ddy * ddy;
      if (dd < distanza) {
        distanza = dd;
        migliore = pianta[i][0] + t * (pianta[i + 1][0] - pianta[i][0]);
      }
    }
    return distanza < raggio * raggio ? migliore : null;
  }

  // A step line through ranges [da, a, valore] as a path, x by `xm` and y by `ym`; it breaks
  // where a range has no value.
  function gradini(lista, xm, ym) {
    let d = "", fine = null;
    for (const r of lista) {
      if (r[2] === null) { fine = null; continue; }
      const y = ym(r[2]).toFixed(1);
      d += (fine === r[0] ? "V" + y : "M" + xm(r[0]).toFixed(1) + " " + y) + "H" + xm(r[1]).toFixed(1);
      fine = r[1];
    }
    return d;
  }

  P.geometria = {nell_intervallo, ultimo_prima, punto_a, punti_tra, quota_a, stessi,
    pianta_in_scala, passo_griglia, passo_asse, tratto, tratto_visibile, metro_vicino, gradini};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
