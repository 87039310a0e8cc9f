// What the drawings along the chainage share (the profile and the timetable's two charts):
// one layout across, so that one view shows the same metres in each and they can follow one
// another's zoom; the chainage axis drawn for a view; and labels kept at the left edge of
// whatever part is shown, over a ground of their own.
(function (P) {
  "use strict";
  // The drawing's width, the left margin that holds the labels, the right margin.
  const LARGO = {larghezza: 880, sinistra: 52, destra: 14};

  // The metres 0 to `lunghezza` across the drawing: `xm(m)` and its inverse `metro_di(x)`.
  function scala(lunghezza) {
    const utile = LARGO.larghezza - LARGO.sinistra - LARGO.destra;
    return {
      utile,
      xm: (m) => LARGO.sinistra + m / lunghezza * utile,
      metro_di: (x) => (x - LARGO.sinistra) / utile * lunghezza,
    };
  }

  // The metres shown in the view v, right of the labels' margin.
  function metri_in_vista(v, base, S) {
    return [S.metro_di(v[0] + LARGO.sinistra * v[2] / base[2]), S.metro_di(v[0] + v[2])];
  }

  // The axis of the view v into `gruppo` (emptied first): a line from `alto` to `basso` at each
  // round step, labelled under `basso` where the labels' margin leaves room.
  function asse(gruppo, v, base, S, lunghezza, alto, basso) {
    const {el, testo, a_misura} = P.elementi;
    const kx = v[2] / base[2];
    const passo = P.geometria.passo_asse(v[2] / S.utile * lunghezza);
    gruppo.textContent = "";
    const bordo = [v[0] + LARGO.sinistra * kx, v[0] + v[2]];
    const da = Math.max(0, Math.floor(S.metro_di(v[0]) / passo) * passo);
    for (let m = da; m <= lunghezza && S.xm(m) <= v[0] + v[2]; m += passo) {
      const x = S.xm(m);
      el("line", {x1: x, y1: alto, x2: x, y2: basso, "class": "asse"}, gruppo);
      // A tick under the labels' margin has its label hidden there too.
      if (x < bordo[0]) { continue; }
      const scritta = P.formato.etichetta_asse(m, passo);
      const t = testo(el("text", {x, y: basso + 14, "text-anchor":
        P.etichette.ancora_nei_bordi(x, scritta.length * 3 * kx, bordo[0], bordo[1]), fill: "#66727f"},
      gruppo), scritta);
      a_misura(t, x, basso + 14, kx, 1);
    }
  }

  // Labels at the left edge of the drawing `svg`, `altezza` high: `etichetta(y, testo)` adds
  // one, `in_cima()` puts the ground and the labels over everything drawn so far, and
  // `disponi(v, base)` keeps them at the left edge of the view v, at their size on screen.
  function margine(svg, altezza) {
    const {el, testo, a_misura} = P.elementi;
    const etichette = [];
    let fondo = null;
    return {
      etichetta(y, t, classe) {
        const e = testo(el("text", {x: LARGO.sinistra - 6, y, "text-anchor": "end", fill: "#66727f",
          "class": classe || "banda"}, svg), t);
        etichette.push([e, y]);
        return e;
      },
      in_cima() {
        fondo = el("rect", {x: 0, y: 0, width: LARGO.sinistra, height: altezza, fill: "var(--carta)"}, svg);
        for (const e of etichette) { svg.appendChild(e[0]); }
      },
      disponi(v, base) {
        const kx = v[2] / base[2];
        if (fondo) {
          fondo.setAttribute("x", v[0]);
          fondo.setAttribute("width", LARGO.sinistra * kx);
        }
        for (const e of etichette) {
          const x = v[0] + (LARGO.sinistra - 6) * kx;
          e[0].setAttribute("x", x);
          a_misura(e[0], x, e[1], kx, 1);
        }
      },
    };
  }

  // A chart along the chainage made a drawing of the page (see pagina.js), once its parts are
  // drawn: the layout of a view, the pointer, the cursor, the changes marked, and a view that
  // follows the other drawings along the chainage. `parti` holds the scale S, its key, the
  // plot's top and bottom, the drawing's height, the axis group, the labels' margin, the
  // cursor, the group of the changes, and `disponi(v, base)` for what else a view lays out.
  function disegno(svg, nome, Q, ambiente, parti) {
    const {el} = P.elementi;
    const {S, alto, basso} = parti;
    function disponi(v, base) {
      P.progressiva.asse(parti.asse, v, base, S, Q.lunghezza, alto, basso);
      parti.margine.disponi(v, base);
      if (parti.disponi) { parti.disponi(v, base); }
    }
    const metro_sotto = (evento) => S.metro_di(P.elementi.punto_del_mouse(svg, evento).x);
    svg.addEventListener("mousemove", (evento) => {
      if (!(evento.buttons & 1)) { ambiente.punta(metro_sotto(evento)); }
    });
    svg.addEventListener("click", (evento) => {
      if (!d.controlli.trascinato()) { ambiente.scegli(metro_sotto(evento), nome); }
    });
    svg.setAttribute("preserveAspectRatio", "none");
    svg.style.height = parti.altezza + "px";
    const d = {nome, svg, chiave: parti.chiave, lungo_la_linea: true};
    d.controlli = P.vista.zoom_e_trascina(svg, nome, true, disponi, ambiente.viste,
        () => ambiente.attiva(nome), (v) => ambiente.vista_cambiata(nome, v));
    d.mostra = (m) => {
      parti.cursore.setAttribute("x1", S.xm(m));
      parti.cursore.setAttribute("x2", S.xm(m));
      parti.cursore.setAttribute("visibility", "visible");
    };
    d.vai = (m) => { d.controlli.centra(S.xm(m), 0, 8); };
    d.porta_in_vista = (m) => {
      if (!d.controlli.mostra(S.xm(m), 0)) { d.controlli.centra(S.xm(m), 0, 1); }
    };
    d.segna_cambiamenti = (cambiamenti) => {
      parti.cambiati.textContent = "";
      for (const c of cambiamenti) {
        if (c.da === null) { continue; }
        el("rect", {x: S.xm(c.da), y: alto, width: Math.max(S.xm(c.a) - S.xm(c.da), 3), height: basso - alto,
          "class": "cambiato"}, parti.cambiati);
      }
    };
    return d;
  }

  P.progressiva = {LARGO, scala, metri_in_vista, asse, margine, disegno};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
