// How the page writes and reads its numbers: kilometre readings through the line's references,
// times of day, the labels of the grid and the axis, and the chainage an author types in the
// "Vai a" field. `chilometri` is the page data's list of [from metre, base, sign] ranges.
(function (P) {
  "use strict";

  // The kilometre reading (in metres) at metre m, from the last range that starts at or
  // before it; null before the first.
  function chilometrica(chilometri, m) {
    let v = null;
    for (const t of chilometri) {
      if (t[0] <= m) { v = t[1] + t[2] * m; }
    }
    return v;
  }

  // The reading at metre m as "km.mmm", or "-" where the line has none.
  function km(chilometri, m) {
    const v = chilometrica(chilometri, m);
    if (v === null) { return "-"; }
    const a = Math.abs(v);
    return (v < 0 ? "-" : "") + Math.floor(a / 1000) + "." + String(a % 1000).padStart(3, "0");
  }

  // Seconds after midnight as h:mm:ss; "-" for none.
  function ora(s) {
    if (!s) { return "-"; }
    return Math.floor(s / 3600) + ":" + String(Math.floor(s / 60) % 60).padStart(2, "0") +
        ":" + String(s % 60).padStart(2, "0");
  }

  // The plan's grid step as its note says it.
  function testo_griglia(passo) {
    return "griglia di " + (passo >= 1000 ? passo / 1000 + " km" : passo + " m");
  }

  // A label of the chainage axis at metre m, with as many decimals as the step needs.
  function etichetta_asse(m, passo) {
    return passo >= 1000 ? m / 1000 + " km"
        : (m / 1000).toFixed(passo >= 100 ? 1 : passo >= 10 ? 2 : 3) + " km";
  }

  // The chainage of a kilometre reading (metres), through the first range of references
  // where it falls; null if the line (0 to `lunghezza` m) never reads it.
  function metro_della_chilometrica(chilometri, lunghezza, lettura) {
    for (let i = 0; i < chilometri.length; i++) {
      const da = chilometri[i][0];
      const fino = i + 1 < chilometri.length ? chilometri[i + 1][0] : lunghezza + 1;
      const m = (lettura - chilometri[i][1]) / chilometri[i][2];
      if (m >= da && m < fino && m >= 0 && m <= lunghezza) { return Math.round(m); }
    }
    return null;
  }

  // What the field holds, as {metro} or {errore}: "12400" or "12400 m" is a chainage; "km
  // 101.350", "101.350", "101,350" and "101+350" are kilometre readings.
  function metro_del_testo(testo, chilometri, lunghezza) {
    const t = testo.trim().toLowerCase().replace(/\s+/g, " ");
    let r = /^(\d+)( ?m)?$/.exec(t);
    if (r) { return {metro: Number(r[1])}; }
    let lettura = null;
    if ((r = /^(?:km ?)?(-?)(\d+)\+(\d{3})$/.exec(t))) {
      lettura = (r[1] ? -1 : 1) * (Number(r[2]) * 1000 + Number(r[3]));
    } else if ((r = /^(?:km ?)?(-?\d+(?:[.,]\d{1,3})?)$/.exec(t)) &&
               (t.indexOf("km") === 0 || /[.,]/.test(t))) {
      lettura = Math.round(Number(r[1].replace(",", ".")) * 1000);
    }
    if (lettura === null) {
      return {errore: "non si legge: scrivere metri (12400) o km (km 101.350, 101+350)"};
    }
    const m = metro_della_chilometrica(chilometri, lunghezza, lettura);
    return m === null ? {errore: "la linea non ha il km " + (lettura / 1000).toFixed(3)} : {metro: m};
  }

  P.formato = {chilometrica, km, ora, testo_griglia, etichetta_asse, metro_della_chilometrica,
    metro_del_testo};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
