// The live page's report of a compile: its number and time, whether it succeeded, every
// problem with its place, source line, caret and notes, and the list of what changed.
(function (P) {
  "use strict";

  // A problem or note is the compile's diagnostic as JSON: file, line, column, severity, code,
  // message, source (the source line) and notes.
  function riferimento(p) { return p.line ? p.file + ":" + p.line + ":" + p.column : p.file; }

  // A problem's line as the report shows it: place, severity, code, message.
  function testo_problema(p) {
    return (p.file ? riferimento(p) + ": " : "") + p.severity + (p.code !== null ? " " + p.code : "") +
        ": " + p.message;
  }

  // The source line of a problem or note with a caret under its column; null without one.
  function riga_e_accento(p) {
    if (!p.line || !p.source) { return null; }
    return p.source + "\n" + " ".repeat(Math.max(p.column - 1, 0)) + "^";
  }

  function stato(c) {
    return c.errore ? "Le sorgenti hanno un errore: la pagina mostra i file come sono."
        : "Compilazione riuscita.";
  }

  // What the list of changes is compared against: the previous compile, or the last one without
  // an error when the latest had one.
  function titolo_cambiamenti(c) {
    return c.confronto_con_ultima_valida ? "Modifiche rispetto all'ultima compilazione senza errori"
        : "Cambiato dalla compilazione precedente";
  }

  // A change as the list shows it: its place, then what it is.
  function testo_cambiamento(m) {
    return (m.da === null ? "scenario" : m.da === m.a ? m.da + " m" : m.da + "-" + m.a + " m") + ": " +
        m.descrizione;
  }

  // What the list says when it is empty.
  function nessun_cambiamento(c) { return c.numero > 1 ? "nessun cambiamento" : "prima compilazione"; }

  // The report of compile c shown; a click on a change shows its place through `mostra(m)`.
  function mostra_rapporto(c, mostra) {
    const {el_html, testo} = P.elementi;
    const id = (n) => document.getElementById(n);
    id("compilazione").hidden = false;
    id("numero-compilazione").textContent = c.numero;
    id("quando-compilazione").textContent =
        new Date(c.quando).toLocaleTimeString("it-IT") + ", " + c.durata_ms.toFixed(1) + " ms";
    const riga_stato = id("stato-compilazione");
    riga_stato.textContent = stato(c);
    riga_stato.className = c.errore ? "con-errore" : "riuscita";
    const problemi = id("problemi");
    problemi.textContent = "";
    const sorgente = (padre, p) => {
      const t = riga_e_accento(p);
      if (t !== null) { el_html("pre", padre, "sorgente").textContent = t; }
    };
    for (const p of c.problemi) {
      const li = el_html("li", problemi, p.severity);
      testo(el_html("div", li, "messaggio"), testo_problema(p));
      sorgente(li, p);
      for (const n of p.notes || []) {
        testo(el_html("div", li, "nota-problema"), riferimento(n) + ": nota: " + n.message);
        sorgente(li, n);
      }
    }
    id("titolo-cambiamenti").textContent = titolo_cambiamenti(c);
    const elenco = id("cambiamenti");
    elenco.textContent = "";
    if (c.cambiamenti.length === 0) { testo(el_html("li", elenco, "nessuno"), nessun_cambiamento(c)); }
    for (const m of c.cambiamenti) {
      const li = testo(el_html("li", elenco), testo_cambiamento(m));
      if (m.da !== null) { li.addEventListener("click", () => mostra(m.da)); }
    }
  }

  P.rapporto = {riferimento, testo_problema, riga_e_accento, stato, titolo_cambiamenti,
    testo_cambiamento, nessun_cambiamento, mostra: mostra_rapporto};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
