// The page's elements made and placed: SVG and HTML elements, a drawing made anew, a mark kept
// the same size on screen at any zoom, and the drawing's point under the pointer.
(function (P) {
  "use strict";
  const NS = "http://www.w3.org/2000/svg";

  // An SVG element with the given attributes, appended to `padre` when there is one.
  function el(tag, attributi, padre) {
    const e = document.createElementNS(NS, tag);
    for (const k in attributi) { e.setAttribute(k, attributi[k]); }
    if (padre) { padre.appendChild(e); }
    return e;
  }

  // An HTML element appended to `padre`, of class `classe` when given.
  function el_html(tag, padre, classe) {
    const e = document.createElement(tag);
    if (classe) { e.className = classe; }
    padre.appendChild(e);
    return e;
  }

  function testo(e, t) { e.textContent = t; return e; }

  // A drawing made anew: a fresh element in place of the old, so no old listener stays.
  function svg_nuovo(id) {
    const vecchio = document.getElementById(id), nuovo = vecchio.cloneNode(false);
    vecchio.parentNode.replaceChild(nuovo, vecchio);
    return nuovo;
  }

  // The transform that keeps an element the same size on screen however far the drawing is
  // zoomed: a scale by (sx, sy) about its point (x, y).
  function trasformazione_a_misura(x, y, sx, sy) {
    return "translate(" + x + " " + y + ") scale(" + sx + " " + sy + ") translate(" + (-x) + " " +
        (-y) + ")";
  }
  function a_misura(e, x, y, sx, sy) {
    e.setAttribute("transform", trasformazione_a_misura(x, y, sx, sy));
  }

  // The point of a drawing under the pointer.
  function punto_del_mouse(svg, evento) {
    const punto = svg.createSVGPoint();
    punto.x = evento.clientX;
    punto.y = evento.clientY;
    return punto.matrixTransform(svg.getScreenCTM().inverse());
  }

  // Sets n.larghezza, the drawn width of each name {e, testo}, from `memoria` (a Map kept
  // across redraws, as the names rarely change) or measured; `dove` names the drawing. Called
  // once everything is in place: a measure between two changes of the page would lay it out
  // again each time.
  function misura_nomi(nomi, dove, memoria) {
    for (const n of nomi) {
      const chiave = dove + "\n" + n.testo;
      if (!memoria.has(chiave)) {
        memoria.set(chiave, n.e.getComputedTextLength() || n.testo.length * 6);
      }
      n.larghezza = memoria.get(chiave);
    }
  }

  P.elementi = {el, el_html, testo, svg_nuovo, trasformazione_a_misura, a_misura, punto_del_mouse,
    misura_nomi};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
