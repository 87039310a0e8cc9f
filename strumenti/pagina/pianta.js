// The plan of the line: the track from the reduced plan (lighter past the line's end), the
// tunnels, the signals, the stations and their names, a 1 km grid, and the point shown. It is
// one of the page's drawings (see pagina.js for what a drawing offers the page).
(function (P) {
  "use strict";
  const LARGHEZZA = 880;
  // Names and markers as they stand on screen, in units of the whole drawing: a name's height
  // and its distance from its marker, and the half side of a station marker's box.
  const NOME = {altezza: 12, scostamento: 7};
  const MEZZO_MARCATORE = 6;

  // What the plan draws from the page's data: it is made again only when this changes.
  function chiave(Q) {
    const D = Q.D;
    return [D.estensione, Q.pianta, D.lunghezza, D.punti, D.gallerie, D.segnali, D.stazioni];
  }

  // The plan of the data Q (Q.D the page's data, Q.pianta the reduced plan as [metro, x, y]
  // points) in the element `svg` made anew. Its listeners act through `ambiente`, so that the
  // plan can stay as it is across compiles that leave its key the same.
  function fai(svg, Q, ambiente) {
    const D = Q.D, pianta = Q.pianta;
    const {el, testo, a_misura} = P.elementi;
    const G = P.geometria;
    const E = D.estensione;
    const nota = document.getElementById("estensione");
    const disegno = {nome: "pianta", svg, controlli: null, chiave: chiave(Q)};
    if (!E) {
      testo(nota, "Il file del tracciato non ha punti calcolati.");
      svg.setAttribute("viewBox", "0 0 " + LARGHEZZA + " 60");
    }
    const fatta = E ? disegna(svg, D, pianta, ambiente, nota) : null;
    // The stretches of the last compile's changes go here, emptied at each compile.
    const cambiati = fatta ? fatta.cambiati : el("g", {"class": "cambiati"}, svg);
    const punto = el("circle", {r: 7, fill: "none", stroke: "#111827", "stroke-width": 2,
      visibility: "hidden"}, svg);
    const in_vista = (m) => {
      const p = G.punto_a(pianta, m);
      return p && fatta ? fatta.scala(p[0], p[1]) : null;
    };
    // The share of the whole drawing that the view shows.
    let scala_vista = 1;
    const metro_sotto = (evento) => {
      if (!fatta || pianta.length === 0) { return null; }
      return G.metro_vicino(pianta, fatta.in_scala, P.elementi.punto_del_mouse(svg, evento),
          20 * scala_vista);
    };
    svg.addEventListener("mousemove", (evento) => {
      if (evento.buttons & 1) { return; }
      const m = metro_sotto(evento);
      if (m !== null) { ambiente.punta(m); }
    });
    svg.addEventListener("click", (evento) => {
      if (!disegno.controlli || disegno.controlli.trascinato()) { return; }
      const m = metro_sotto(evento);
      if (m !== null) { ambiente.scegli(m, "pianta"); }
    });
    if (fatta) {
      disegno.controlli = P.vista.zoom_e_trascina(svg, "pianta", false, (v, base) => {
        scala_vista = v[2] / base[2];
        fatta.disponi(v, base, scala_vista, ambiente.pixel.pianta || base[2]);
        a_misura(punto, Number(punto.getAttribute("cx")), Number(punto.getAttribute("cy")),
            scala_vista, scala_vista);
      }, ambiente.viste, () => ambiente.attiva("pianta"));
    }
    // The point of metre m marked.
    disegno.mostra = (m) => {
      const s = in_vista(m);
      if (!s) { return; }
      punto.setAttribute("cx", s[0]);
      punto.setAttribute("cy", s[1]);
      punto.setAttribute("visibility", "visible");
      a_misura(punto, s[0], s[1], scala_vista, scala_vista);
    };
    // Centred on metre m, zooming in from the whole plan; a station on its own point, which
    // the reduced plan only comes near.
    disegno.vai = (m, stazione) => {
      const s = stazione && stazione.x !== null && fatta ? fatta.scala(stazione.x, stazione.y) : in_vista(m);
      if (s && disegno.controlli) { disegno.controlli.centra(s[0], s[1], 4); }
    };
    // Metre m brought into the view if it is not there.
    disegno.porta_in_vista = (m) => {
      const s = in_vista(m);
      if (s && disegno.controlli && !disegno.controlli.mostra(s[0], s[1])) {
        disegno.controlli.centra(s[0], s[1], 1);
      }
    };
    // The stretches [{da, a}] that the last compile changed, marked over the track.
    disegno.segna_cambiamenti = (cambiamenti) => {
      cambiati.textContent = "";
      if (!fatta) { return; }
      for (const c of cambiamenti) {
        if (c.da === null) { continue; }
        const punti = G.punti_tra(pianta, c.da, c.a);
        if (punti.length === 1) { punti.push(punti[0]); }
        if (punti.length > 1) {
          el("path", {d: G.tratto(punti, fatta.scala) + "l0.1 0", "class": "cambiato-pianta"}, cambiati);
        }
      }
    };
    return disegno;
  }

  // Everything the plan draws when it has an extent; returns its scale, its points in the
  // drawing's units, the group for the changes and the layout for a view.
  function disegna(svg, D, pianta, ambiente, nota) {
    const {el, testo} = P.elementi;
    const G = P.geometria;
    const E = D.estensione;
    const {altezza, scala} = G.pianta_in_scala(E, LARGHEZZA);
    svg.setAttribute("viewBox", "0 0 " + LARGHEZZA + " " + altezza);
    svg.setAttribute("data-estensione", [E.min_x, E.max_x, E.min_y, E.max_y]
        .map((v) => Math.round(v)).join(" "));
    testo(nota, "x da " + Math.round(E.min_x) + " a " + Math.round(E.max_x) + " m, y da " +
        Math.round(E.min_y) + " a " + Math.round(E.max_y) + " m (" + pianta.length +
        " punti su " + D.punti + ", disegnati quelli che la vista distingue).");
    const fondo = el("rect", {x: 0, y: 0, width: LARGHEZZA, height: altezza, fill: "#fbfcfd"}, svg);
    const passo = G.passo_griglia(E);
    for (let gx = Math.ceil(E.min_x / passo) * passo; gx <= E.max_x; gx += passo) {
      const a = scala(gx, E.min_y), b = scala(gx, E.max_y);
      el("line", {x1: a[0], y1: a[1] + 8, x2: b[0], y2: b[1] - 8, "class": "asse"}, svg);
    }
    for (let gy = Math.ceil(E.min_y / passo) * passo; gy <= E.max_y; gy += passo) {
      const c = scala(E.min_x, gy), d = scala(E.max_x, gy);
      el("line", {x1: c[0] - 8, y1: c[1], x2: d[0] + 8, y2: d[1], "class": "asse"}, svg);
    }
    const nota_griglia = testo(el("text", {x: 8, y: altezza - 8, fill: "#66727f"}, svg),
        P.formato.testo_griglia(passo));
    // The plan in drawing units, once; each view draws from it only what it shows. The track
    // goes on beyond the end of the line (D.oltre_la_linea metres): drawn lighter.
    const in_scala = pianta.map((p) => scala(p[1], p[2]));
    const fine_linea = G.punto_a(pianta, D.lunghezza);
    const fine_in_scala = fine_linea ? scala(fine_linea[0], fine_linea[1]) : null;
    let primo_oltre = pianta.findIndex((p) => p[0] > D.lunghezza);
    if (primo_oltre < 0) { primo_oltre = pianta.length; }
    const linea_in_scala = in_scala.slice(0, primo_oltre);
    const oltre_in_scala = in_scala.slice(primo_oltre);
    if (fine_in_scala) { linea_in_scala.push(fine_in_scala); oltre_in_scala.unshift(fine_in_scala); }
    const path_oltre = el("path", {d: "", fill: "none", stroke: "var(--linea)", "stroke-width": 1.5,
      "stroke-dasharray": "6 4", opacity: 0.5, "class": "oltre-la-linea"}, svg);
    const path_linea = el("path", {d: "", fill: "none", stroke: "var(--linea)", "stroke-width": 2.2,
      "stroke-linejoin": "round", "class": "linea-pianta"}, svg);
    for (const g of D.gallerie) {
      const punti = G.punti_tra(pianta, g[0], g[1]);
      if (punti.length > 1) {
        el("path", {d: G.tratto(punti, scala), fill: "none", stroke: "var(--galleria)", "stroke-width": 6,
          "stroke-linecap": "butt", "class": "galleria-pianta"}, svg);
      }
    }
    // Over the track and under the markers, so that a changed stretch hides no name.
    const cambiati = el("g", {"class": "cambiati"}, svg);
    // Markers that keep their size on screen: [element, x, y] to scale at each view.
    const segni = [];
    for (const s of D.segnali) {
      if (s.x === null) { continue; }
      const p = scala(s.x, s.y);
      const quadro = el("rect", {x: p[0] - 2.5, y: p[1] - 2.5, width: 5, height: 5,
        fill: "var(--segnale)", "class": "marcatore-segnale"}, svg);
      testo(el("title", {}, quadro), "segnale a " + s.posizione + " m");
      segni.push([quadro, p[0], p[1]]);
    }
    // Station names stand over every marker and the track, each on a ground of its own.
    const nomi = [];
    const strato_nomi = el("g", {"class": "nomi-pianta"});
    D.stazioni.forEach((s, i) => {
      if (s.x === null) { return; }
      const p = scala(s.x, s.y);
      const cerchio = el("circle", {cx: p[0], cy: p[1], r: 5, fill: "#fff", stroke: "var(--stazione)",
        "stroke-width": 2.5, "class": "marcatore-stazione", "data-voce": s.voce}, svg);
      testo(el("title", {}, cerchio), s.nome + " (" + s.posizione + " m)");
      cerchio.addEventListener("click", (e) => { e.stopPropagation(); ambiente.vai(s.posizione, s); });
      const nome = testo(el("text", {x: p[0], y: p[1] + 3.5, "class": "nome-stazione"}, strato_nomi), s.nome);
      segni.push([cerchio, p[0], p[1]], [nome, p[0], p[1]]);
      nomi.push({e: nome, x: p[0], y: p[1], a_destra: i % 2 === 0, testo: s.nome});
    });
    svg.appendChild(strato_nomi);
    P.elementi.misura_nomi(nomi, "pianta", ambiente.larghezze);

    // The layout for the view v of the whole `base`, shown `pixel` wide; `k` is v's share of
    // the whole.
    function disponi(v, base, k, pixel) {
      const {a_misura} = P.elementi;
      // The ground follows the view, so that a view moved past the plan's edge is not bare.
      [["x", v[0]], ["y", v[1]], ["width", v[2]], ["height", v[3]]].forEach((a) => fondo.setAttribute(a[0], a[1]));
      // One point every half pixel at most.
      const passo_minimo = 0.5 * v[2] / pixel;
      const linea = G.tratto_visibile(linea_in_scala, v, passo_minimo);
      const oltre = G.tratto_visibile(oltre_in_scala, v, passo_minimo);
      path_linea.setAttribute("d", linea.d);
      path_oltre.setAttribute("d", oltre.d);
      svg.setAttribute("data-punti-disegnati", linea.punti + oltre.punti);
      const angolo = [v[0] + 8 * k, v[1] + v[3] - 8 * k];
      nota_griglia.setAttribute("x", angolo[0]);
      nota_griglia.setAttribute("y", angolo[1]);
      a_misura(nota_griglia, angolo[0], angolo[1], k, k);
      for (const s of segni) {
        const dentro = s[1] >= v[0] - v[2] / 2 && s[1] <= v[0] + 1.5 * v[2] &&
            s[2] >= v[1] - v[3] / 2 && s[2] <= v[1] + 1.5 * v[3];
        s[0].style.display = dentro ? "" : "none";
        if (dentro) { a_misura(s[0], s[1], s[2], k, k); }
      }
      const candidati = nomi.filter((n) => n.e.style.display !== "none");
      const ostacoli = candidati.map((n, i) => ({nome: i, scatola: [n.x - MEZZO_MARCATORE * k,
        n.y - MEZZO_MARCATORE * k, n.x + MEZZO_MARCATORE * k, n.y + MEZZO_MARCATORE * k]}));
      const lati = P.etichette.lati_dei_nomi(candidati, ostacoli, v, k, NOME);
      candidati.forEach((n, i) => {
        n.e.style.display = lati[i] === null ? "none" : "";
        if (lati[i] === null) { return; }
        const a_destra = lati[i] === "destra";
        n.e.setAttribute("x", n.x + (a_destra ? 8 : -8));
        n.e.setAttribute("text-anchor", a_destra ? "start" : "end");
      });
    }
    return {scala, in_scala, cambiati, disponi};
  }

  P.pianta = {nome: "pianta", chiave, fai};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
