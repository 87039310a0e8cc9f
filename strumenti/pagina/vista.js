// The part of a drawing shown, v = [x, y, w, h] in the drawing's units (its viewBox), and the
// wheel, the drag and the keys that change it; `solo_x` for a drawing that moves only along x
// (the profile). The arithmetic takes and returns views; `zoom_e_trascina` puts it on a drawing.
(function (P) {
  "use strict";

  // Never wider than the whole drawing `base`: zooming out stops there.
  function limitata(v, base, solo_x) {
    return v[2] > base[2] ? [v[0], v[1], base[2], solo_x ? v[3] : base[3]] : v;
  }

  // Zoomed by f about the drawing's point (px, py).
  function zoomata(v, f, px, py, solo_x) {
    return [px - (px - v[0]) * f, solo_x ? v[1] : py - (py - v[1]) * f, v[2] * f,
      solo_x ? v[3] : v[3] * f];
  }

  // The view after key k: + and - zoom about the centre, the arrows move by a tenth of the
  // view; null for a key that does nothing.
  function dopo_il_tasto(v, k, solo_x) {
    const cx = v[0] + v[2] / 2, cy = v[1] + v[3] / 2;
    if (k === "+" || k === "=") { return zoomata(v, 0.8, cx, cy, solo_x); }
    if (k === "-" || k === "_") { return zoomata(v, 1.25, cx, cy, solo_x); }
    if (k === "ArrowLeft" || k === "ArrowRight") {
      return [v[0] + (k === "ArrowLeft" ? -1 : 1) * v[2] / 10, v[1], v[2], v[3]];
    }
    if (!solo_x && (k === "ArrowUp" || k === "ArrowDown")) {
      return [v[0], v[1] + (k === "ArrowUp" ? -1 : 1) * v[3] / 10, v[2], v[3]];
    }
    return null;
  }

  // Whether the view shows the whole drawing's width.
  function intera(v, base) { return v[2] >= base[2] * 0.999; }

  // Centred on (x, y); the whole drawing is first zoomed in by `ingrandimento`.
  function centrata(v, base, x, y, ingrandimento, solo_x) {
    const f = intera(v, base) ? 1 / ingrandimento : 1;
    const w = v[2] * f, h = solo_x ? v[3] : v[3] * f;
    return [x - w / 2, solo_x ? v[1] : y - h / 2, w, h];
  }

  // Whether the point lies in the view.
  function contiene(v, x, y, solo_x) {
    return x >= v[0] && x <= v[0] + v[2] && (solo_x || (y >= v[1] && y <= v[1] + v[3]));
  }

  // The view `v` (where it stood at the press) dragged by (dx, dy) pixels on a drawing shown
  // `larghezza` by `altezza` pixels.
  function trascinata(v, dx, dy, larghezza, altezza, solo_x) {
    return [v[0] - dx / larghezza * v[2], solo_x ? v[1] : v[1] - dy / altezza * v[3], v[2], v[3]];
  }

  // The view v moved and zoomed along x as the view `altra` is, of a drawing as wide.
  function seguita(v, altra) { return [altra[0], v[1], altra[2], v[3]]; }

  // Wheel, drag and keys on the drawing `svg`, named `nome`. The view starts from the one kept
  // under that name in `memoria` (or the whole drawing) and is kept there. `aggiorna(v, base)`
  // lays out again what depends on the scale, once a frame at most; `quando_attiva()` runs
  // when the drawing is pointed at or focused; `quando_cambia(v)`, when given, after each
  // change of the view made here, but not after one that follows another drawing's. Returns
  // the drawing's controls.
  function zoom_e_trascina(svg, nome, solo_x, aggiorna, memoria, quando_attiva, quando_cambia) {
    const base = svg.getAttribute("viewBox").split(" ").map(Number);
    let v = memoria[nome] || base.slice();
    let atteso = false;
    function disponi() {
      atteso = false;
      aggiorna(v, base);
      svg.setAttribute("data-vista", v.map((n) => n.toFixed(1)).join(" "));
    }
    function applica(nuova, subito, seguendo) {
      v = limitata(nuova, base, solo_x);
      svg.setAttribute("viewBox", v.join(" "));
      memoria[nome] = v;
      if (subito) { disponi(); } else if (!atteso) { atteso = true; requestAnimationFrame(disponi); }
      if (quando_cambia && !seguendo) { quando_cambia(v); }
    }
    svg.setAttribute("tabindex", "0");
    svg.addEventListener("mouseenter", quando_attiva);
    svg.addEventListener("focus", quando_attiva);
    svg.addEventListener("wheel", (e) => {
      e.preventDefault();
      const r = svg.getBoundingClientRect();
      applica(zoomata(v, e.deltaY > 0 ? 1.25 : 0.8, v[0] + (e.clientX - r.left) / r.width * v[2],
          v[1] + (e.clientY - r.top) / r.height * v[3], solo_x));
    }, {passive: false});
    // Where the press was, the view then, and whether it has become a drag.
    let presa = null;
    svg.addEventListener("mousedown", (e) => {
      presa = {x: e.clientX, y: e.clientY, v: v.slice(), trascinato: false};
      // Taken once per press: a drawing made again leaves no listener behind on the window.
      window.addEventListener("mouseup", () => { setTimeout(() => { presa = null; }); }, {once: true});
    });
    svg.addEventListener("mousemove", (e) => {
      if (!presa || !(e.buttons & 1)) { return; }
      const r = svg.getBoundingClientRect();
      if (Math.abs(e.clientX - presa.x) + Math.abs(e.clientY - presa.y) > 3) { presa.trascinato = true; }
      applica(trascinata([presa.v[0], solo_x ? v[1] : presa.v[1], v[2], v[3]], e.clientX - presa.x,
          e.clientY - presa.y, r.width, r.height, solo_x));
    });
    svg.addEventListener("dblclick", () => { applica(base.slice()); });
    // The view it starts from is no change to tell.
    applica(v, true, true);
    return {
      // Acts on key k; false for a key that does nothing here.
      tasto(k) {
        const nuova = dopo_il_tasto(v, k, solo_x);
        if (nuova === null) { return false; }
        applica(nuova);
        return true;
      },
      centra(x, y, ingrandimento) { applica(centrata(v, base, x, y, ingrandimento, solo_x)); },
      mostra(x, y) { return contiene(v, x, y, solo_x); },
      // Was the last press a drag rather than a click?
      trascinato() { return presa !== null && presa.trascinato; },
      vista() { return v; },
      intera() { return intera(v, base); },
      // Along x as the view `altra` of another drawing as wide, without telling anyone.
      segui(altra) {
        if (altra[0] !== v[0] || altra[2] !== v[2]) { applica(seguita(v, altra), false, true); }
      },
    };
  }

  P.vista = {limitata, zoomata, dopo_il_tasto, intera, centrata, contiene, trascinata, seguita,
    zoom_e_trascina};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
