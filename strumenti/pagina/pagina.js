// The page put together: its one state, its drawings, what a metre shown and a place gone to
// do to all of them, the keys and the "Vai a" field, and, on the live page, each compile.
//
// A drawing is a module with `nome`, `fai(svg, Q, ambiente)` and, when it can stay as it is
// across compiles, `chiave(Q)`: what it draws, compared with the last drawing's. Q holds the
// page's data (Q.D), the reduced plan (Q.pianta) and the line's length in metres
// (Q.lunghezza). `fai` returns {nome, svg, controlli, chiave, mostra(m), vai(m, stazione),
// porta_in_vista(m), segna_cambiamenti(cambiamenti)}; `controlli` are those of
// vista.zoom_e_trascina. A new drawing is a module, a line of DISEGNI, and an svg element in
// pagina.html. The drawings along the chainage (`lungo_la_linea`: the profile and the charts
// of the timetable's check) show the same metres: a view changed in one is followed by the
// others.
(function (P) {
  "use strict";

  const DISEGNI = [{id: "svg-pianta", modulo: () => P.pianta}, {id: "svg-profilo", modulo: () => P.profilo},
    {id: "svg-velocita", modulo: () => P.velocita}, {id: "svg-tempi", modulo: () => P.tempi}];

  // An icon that is no file: the browser asks for none.
  function icona() {
    const l = document.createElement("link");
    l.rel = "icon";
    l.setAttribute("href", "data:,");
    document.head.appendChild(l);
  }

  function avvia() {
    icona();
    const D = JSON.parse(document.getElementById("dati").textContent);
    const stato = {
      D,
      // The live page's last compile shown, null on the inspector's page.
      compilazione: D.compilazione || null,
      // The plan the drawings use (the finer reduction when the data has it), and the line's
      // length in metres.
      pianta: [],
      lunghezza: 1,
      // Each drawing by name, where each is zoomed to (kept across redraws), the one that keys
      // act on (the last one pointed at or focused), and its width on screen.
      disegni: {},
      viste: {},
      attiva: "profilo",
      pixel: {},
      // The width of each name as drawn, kept across redraws.
      larghezze: new Map(),
      // What the station table and list were last made from: they are made again only when it
      // changes.
      stazioni_in_tabella: null,
    };
    const tutti = () => Object.values(stato.disegni);

    // The drawings' widths on screen, read while the page is laid out: a read after a change
    // would lay the page out again in the middle of a redraw.
    function misura_schermo() {
      for (const d of DISEGNI) { stato.pixel[d.modulo().nome] = document.getElementById(d.id).clientWidth; }
    }
    window.addEventListener("resize", misura_schermo);

    // Metre m shown in every drawing and beside them.
    function mostra(m) {
      m = Math.max(0, Math.min(Math.round(m), stato.lunghezza - 1));
      for (const d of tutti()) { d.mostra(m); }
      P.pannelli.dettagli(P.pannelli.righe_del_metro(stato.D, stato.pianta, m)
          .concat(P.marcia.righe_del_metro(stato.D.marcia, m)));
    }
    // Every drawing centred on metre m (a station on its own point), and what stands there shown.
    function vai(m, stazione) {
      m = Math.max(0, Math.min(Math.round(m), stato.lunghezza));
      for (const d of tutti()) { d.vai(m, stazione); }
      mostra(m);
    }
    const ambiente = {
      viste: stato.viste,
      pixel: stato.pixel,
      larghezze: stato.larghezze,
      attiva: (nome) => { stato.attiva = nome; },
      vai,
      // The pointer on metre m of a drawing.
      punta: mostra,
      // A click on metre m of the drawing `da`: the point brought into the others' views.
      // The view of the drawing `da` along the chainage changed to v: the others follow.
      vista_cambiata: (da, v) => {
        for (const d of tutti()) { if (d.lungo_la_linea && d.nome !== da) { d.controlli.segui(v); } }
      },
      scegli: (m, da) => {
        mostra(m);
        const n = Math.max(0, Math.min(Math.round(m), stato.lunghezza - 1));
        for (const d of tutti()) { if (d.nome !== da) { d.porta_in_vista(n); } }
      },
    };

    function disegna() {
      misura_schermo();
      const D = stato.D;
      stato.lunghezza = Math.max(D.celle * D.metri_cella, 1);
      stato.pianta = D.pianta_fine && D.pianta_fine.length ? D.pianta_fine : D.pianta;
      P.pannelli.intestazione(D);
      const Q = {D, pianta: stato.pianta, lunghezza: stato.lunghezza};
      for (const d of DISEGNI) {
        const modulo = d.modulo(), vecchio = stato.disegni[modulo.nome];
        if (modulo.chiave && vecchio && P.geometria.stessi(vecchio.chiave, modulo.chiave(Q))) { continue; }
        const nuovo = modulo.fai(P.elementi.svg_nuovo(d.id), Q, ambiente);
        stato.disegni[modulo.nome] = nuovo;
        // A chart made for the first time starts at the profile's view.
        const profilo = stato.disegni.profilo;
        if (nuovo.lungo_la_linea && profilo && nuovo !== profilo) { nuovo.controlli.segui(profilo.controlli.vista()); }
      }
      const cambiamenti = stato.compilazione ? stato.compilazione.cambiamenti : [];
      for (const d of tutti()) { d.segna_cambiamenti(cambiamenti); }
      const stazioni_ora = [D.stazioni, D.chilometri];
      if (!P.geometria.stessi(stazioni_ora, stato.stazioni_in_tabella)) {
        stato.stazioni_in_tabella = stazioni_ora;
        P.pannelli.stazioni(D, vai);
      }
      P.marcia.pannello(D, vai);
      mostra(D.stazioni.length ? D.stazioni[0].posizione : 0);
    }

    // --- Going to a place ---------------------------------------------------------------
    const campo = document.getElementById("vai-a"), esito = document.getElementById("esito-vai");
    document.getElementById("modulo-vai").addEventListener("submit", (e) => {
      e.preventDefault();
      let r = P.formato.metro_del_testo(campo.value, stato.D.chilometri, stato.lunghezza);
      if (r.metro !== undefined && (r.metro < 0 || r.metro > stato.lunghezza)) {
        r = {errore: "la linea va da 0 a " + stato.lunghezza + " m"};
      }
      esito.className = r.errore ? "nota con-errore" : "nota";
      if (r.errore) { esito.textContent = r.errore; return; }
      vai(r.metro);
      esito.textContent = "metro " + r.metro + ", km " + P.formato.km(stato.D.chilometri, r.metro);
    });
    // Page Down and Page Up go to the station after and before the profile's centre; other keys
    // act on the drawing last pointed at or focused.
    document.addEventListener("keydown", (e) => {
      if (e.ctrlKey || e.altKey || e.metaKey || stato.D.celle === undefined) { return; }
      const bersaglio = e.target && e.target.tagName;
      if (bersaglio === "INPUT" || bersaglio === "TEXTAREA" || bersaglio === "SELECT") { return; }
      const profilo = stato.disegni.profilo;
      if (e.key === "PageDown" || e.key === "PageUp") {
        const s = P.pannelli.stazione_vicina(stato.D.stazioni, profilo.metro_al_centro(),
            e.key === "PageDown", profilo.controlli.intera());
        if (s !== null) { vai(s.posizione, s); }
        e.preventDefault();
        return;
      }
      const d = [stato.disegni[stato.attiva], profilo].find((x) => x && x.controlli);
      if (d && d.controlli.tasto(e.key)) { e.preventDefault(); }
    });

    if (stato.D.celle !== undefined) { disegna(); }
    if (stato.compilazione) {
      P.rapporto.mostra(stato.compilazione, mostra);
      P.aggiornamenti.ascolta((c) => {
        stato.compilazione = c;
        if (c.dati) {
          stato.D = c.dati;
          disegna();
        }
        P.rapporto.mostra(c, mostra);
      }, () => stato.compilazione);
      P.aggiornamenti.segna_compilazione(document.body, stato.compilazione);
    }
    document.body.setAttribute("data-stato", "pronto");
  }

  P.DISEGNI = DISEGNI;
  if (typeof document !== "undefined") { avvia(); }
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
