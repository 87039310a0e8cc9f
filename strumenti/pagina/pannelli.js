// The page's text beside the drawings: the title, the station table and list, what stands at
// the metre shown, and the station that Page Down and Page Up go to.
(function (P) {
  "use strict";

  // The subtitle: the line's size and what it holds.
  function sottotitolo(D) {
    return "Linea di " + D.lunghezza.toLocaleString("it-IT") + " m, " + D.celle + " celle da " +
        D.metri_cella + " m, " + D.stazioni.length + " stazioni, " + D.segnali.length + " segnali, " +
        D.rallentamenti.length + " rallentamenti, " + D.gallerie.length + " gallerie. ";
  }

  function intestazione(D) {
    const {el_html, testo} = P.elementi;
    document.title = D.scenario + " - treno " + D.treno;
    testo(document.getElementById("titolo"), D.scenario + " \u2014 treno " + D.treno);
    const sotto = testo(document.getElementById("sottotitolo"), sottotitolo(D));
    if (D.difetti > 0) {
      testo(el_html("span", sotto, "difetti"), D.difetti + " difetti nei file: vedere l'ispezione.");
    }
  }

  // The cells of a station's row in the table.
  function riga_stazione(s, chilometri) {
    const {km, ora} = P.formato;
    return [s.voce, s.nome, s.posizione, km(chilometri, s.posizione), s.inizio + " \u2013 " + s.fine,
      s.sosta || "", s.orario ? ora(s.orario) : ""];
  }

  // The station table and the list beside the drawings; a click goes to the station.
  function stazioni(D, vai) {
    const {el_html, testo} = P.elementi;
    const corpo = document.getElementById("righe-stazioni");
    corpo.textContent = "";
    for (const s of D.stazioni) {
      const riga = el_html("tr", corpo);
      for (const t of riga_stazione(s, D.chilometri)) { testo(el_html("td", riga), t); }
      riga.addEventListener("click", () => vai(s.posizione, s));
    }
    const elenco = document.getElementById("elenco-stazioni");
    elenco.textContent = "";
    for (const s of D.stazioni) {
      const bottone = el_html("button", el_html("li", elenco));
      bottone.type = "button";
      bottone.setAttribute("data-voce", s.voce);
      testo(el_html("span", bottone, "nome"), s.nome);
      testo(el_html("span", bottone, "km"), P.formato.km(D.chilometri, s.posizione));
      bottone.addEventListener("click", () => vai(s.posizione, s));
    }
  }

  // What stands at metre m of data D, as [name, value] rows: the place, the limits, the
  // gradient and altitude, and whatever stands in m's cell.
  function righe_del_metro(D, pianta, m) {
    const {km, ora} = P.formato;
    const G = P.geometria;
    const righe = [["metro", m + " (km " + km(D.chilometri, m) + ")"]];
    const p = G.punto_a(pianta, m);
    if (p) { righe.push(["pianta", "x " + Math.round(p[0]) + ", y " + Math.round(p[1]) + " m"]); }
    const vel = G.nell_intervallo(D.velocita, m);
    righe.push(["velocit\u00e0 massima", vel ? vel + " km/h" : "-"]);
    const cartello = G.ultimo_prima(D.cartelli, m);
    righe.push(["cartelli A / B / C", cartello ? cartello.v.join(" / ") + " km/h" : "-"]);
    const pendenza = G.nell_intervallo(D.pendenza, m);
    righe.push(["pendenza", pendenza === null ? "-" : pendenza + " \u2030"]);
    righe.push(["quota", Math.round(G.quota_a(D.quota, m)) + " m"]);
    righe.push(["aderenza", G.nell_intervallo(D.aderenza, m) || "-"]);
    const galleria = G.nell_intervallo(D.gallerie, m);
    righe.push(["galleria", galleria ? "tipo " + galleria : "all'aperto"]);
    for (const r of D.rallentamenti) {
      if (m >= r.inizio && m < r.fine) {
        righe.push(["rallentamento", r.velocita + " km/h, " + r.inizio + " \u2013 " + r.fine + " m"]);
      }
    }
    for (const s of D.stazioni) {
      if (m >= s.inizio && m <= s.fine) { righe.push(["stazione", s.nome + (s.orario ? ", " + ora(s.orario) : "")]); }
    }
    const cella = Math.floor(m / D.metri_cella);
    const nella_cella = (x) => Math.floor(x.posizione / D.metri_cella) === cella;
    for (const s of D.segnali.filter(nella_cella)) { righe.push(["segnale", s.posizione + " m"]); }
    for (const c of D.cartelli.filter(nella_cella)) {
      righe.push(["cartello", "A " + c.v[0] + ", B " + c.v[1] + ", C " + c.v[2] + " km/h"]);
    }
    for (const c of D.testi.filter(nella_cella)) { righe.push(["cartello", c.testo]); }
    for (const a of D.abbattimenti.filter(nella_cella)) {
      righe.push(["abbattimento", a.velocita ? a.velocita + " km/h" : "senza velocit\u00e0"]);
    }
    return righe;
  }

  function dettagli(righe) {
    const {el_html, testo} = P.elementi;
    const elenco = document.getElementById("dettagli");
    elenco.textContent = "";
    for (const r of righe) {
      testo(el_html("dt", elenco), r[0]);
      testo(el_html("dd", elenco), r[1]);
    }
  }

  // The next station after metre `centro` (avanti) or the one before it; from the whole line
  // (`intera`), going forward finds the first station and going back none.
  function stazione_vicina(stazioni, centro, avanti, intera) {
    const ordinate = stazioni.slice().sort((a, b) => a.posizione - b.posizione);
    if (ordinate.length === 0) { return null; }
    if (intera) { return avanti ? ordinate[0] : null; }
    if (avanti) { return ordinate.find((s) => s.posizione > centro + 0.5) || null; }
    return ordinate.filter((s) => s.posizione < centro - 0.5).pop() || null;
  }

  P.pannelli = {sottotitolo, intestazione, riga_stazione, stazioni, righe_del_metro, dettagli,
    stazione_vicina};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
