// The live page's updates: each compile comes as a Server-Sent Event from "/eventi", is taken
// when it is newer than the one shown, and is measured. The measures go on the body, all set
// here: from the save seen by the server (the event's `rilevato`, on the same machine's clock)
// to the event's arrival (data-arrivo-ms), to the page redrawn (data-ritardo-ms), and to the
// first frame painted after it (data-ritardo-dipinto-ms, with data-compilazione-dipinta).
(function (P) {
  "use strict";

  // Whether compile c is to be shown after `attuale` (null for none yet).
  function da_mostrare(attuale, c) { return attuale === null || c.numero > attuale.numero; }

  // The measures of compile c that arrived at `arrivo` and was redrawn by `ridisegnato` (ms).
  function misure_del_ridisegno(c, arrivo, ridisegnato) {
    return {"data-arrivo-ms": String(arrivo - c.rilevato), "data-ritardo-ms": String(ridisegnato - c.rilevato)};
  }
  function misure_del_dipinto(c, dipinto) {
    return {"data-ritardo-dipinto-ms": String(dipinto - c.rilevato), "data-compilazione-dipinta": String(c.numero)};
  }

  function segna(corpo, attributi) {
    for (const k in attributi) { corpo.setAttribute(k, attributi[k]); }
  }

  // The compile the page shows, for whoever checks it.
  function segna_compilazione(corpo, c) { corpo.setAttribute("data-compilazione", String(c.numero)); }

  // Listens for compiles: each one newer than the compile the page shows (`attuale()`) is
  // handed to `mostra(c)`, which redraws the page, then measured.
  function ascolta(mostra, attuale) {
    if (!window.EventSource) { return; }
    const fonte = new EventSource("/eventi");
    fonte.onmessage = (e) => {
      const arrivo = Date.now();
      const c = JSON.parse(e.data);
      if (!da_mostrare(attuale(), c)) { return; }
      mostra(c);
      const corpo = document.body;
      segna(corpo, misure_del_ridisegno(c, arrivo, Date.now()));
      // A task queued from the frame's callback runs once the frame is out.
      requestAnimationFrame(() => {
        setTimeout(() => {
          if (attuale() === c) { segna(corpo, misure_del_dipinto(c, Date.now())); }
        }, 0);
      });
      segna_compilazione(corpo, c);
    };
    return fonte;
  }

  P.aggiornamenti = {da_mostrare, misure_del_ridisegno, misure_del_dipinto, segna_compilazione, ascolta};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
