// The page's modules loaded in node, without a browser: the pure functions that the drawings,
// the panels and the live updates are built on, each checked on small data of its own; and the
// embedding list, which must name every module once, with pagina.js (which starts the page)
// last.

import { test } from "node:test";
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const cartella = path.join(path.dirname(fileURLToPath(import.meta.url)), "..");
const require = createRequire(import.meta.url);
// The modules as the CMake file lists them for the page.
const elenco = /set\(moduli_pagina([^)]*)\)/.exec(fs.readFileSync(path.join(cartella, "CMakeLists.txt"), "utf8"));
const moduli = elenco ? elenco[1].trim().split(/\s+/) : [];
for (const m of moduli) { require(path.join(cartella, m)); }
const P = globalThis.Pagina;
const { formato: F, geometria: G, etichette: T, vista: V, pannelli: N, rapporto: R, aggiornamenti: A } = P;

test("l'elenco dei moduli: ognuno una volta, pagina.js per ultimo", () => {
  const nella_cartella = fs.readdirSync(cartella).filter((f) => f.endsWith(".js") && f !== "errori.js").sort();
  assert.deepEqual([...moduli].sort(), nella_cartella, "ogni modulo della cartella e' incorporato");
  assert.equal(new Set(moduli).size, moduli.length, "nessun modulo due volte");
  assert.equal(moduli[moduli.length - 1], "pagina.js");
  for (const m of ["formato", "geometria", "etichette", "elementi", "vista", "progressiva", "pianta", "profilo",
    "marcia", "velocita", "tempi", "pannelli", "rapporto", "aggiornamenti"]) {
    assert.equal(typeof P[m], "object", m + " si carica senza browser");
  }
  // Every drawing offers the page a name and a way to be made.
  for (const d of P.DISEGNI) {
    assert.equal(typeof d.modulo().nome, "string");
    assert.equal(typeof d.modulo().fai, "function");
  }
});

// From 0 the readings count up from 100 km; from 5000 m they count down from 200 km.
const CHILOMETRI = [[0, 100000, 1], [5000, 205000, -1]];

test("formato: chilometriche, ore, etichette", () => {
  const casi = [[0, "100.000"], [1234, "101.234"], [4999, "104.999"], [5000, "200.000"], [6500, "198.500"]];
  for (const [m, atteso] of casi) { assert.equal(F.km(CHILOMETRI, m), atteso, "km di " + m); }
  assert.equal(F.km([[0, -500, 1]], 0), "-0.500");
  assert.equal(F.km([[100, 0, 1]], 50), "-", "prima del primo riferimento");
  assert.equal(F.ora(0), "-");
  assert.equal(F.ora(3600 * 7 + 60 * 5 + 9), "7:05:09");
  assert.equal(F.testo_griglia(1000), "griglia di 1 km");
  assert.equal(F.testo_griglia(100), "griglia di 100 m");
  assert.equal(F.etichetta_asse(5000, 1000), "5 km");
  assert.equal(F.etichetta_asse(5500, 500), "5.5 km");
  assert.equal(F.etichetta_asse(5550, 50), "5.55 km");
  assert.equal(F.etichetta_asse(5555, 5), "5.555 km");
});

test("formato: il campo \"Vai a\"", () => {
  const casi = [
    ["12400", { metro: 12400 }],
    ["  12400 m ", { metro: 12400 }],
    ["km 101.234", { metro: 1234 }],
    ["101.234", { metro: 1234 }],
    ["101,234", { metro: 1234 }],
    ["101+234", { metro: 1234 }],
    ["KM 198.500", { metro: 6500 }],
    ["km 104.9995", { errore: "non si legge: scrivere metri (12400) o km (km 101.350, 101+350)" }],
    ["dodici", { errore: "non si legge: scrivere metri (12400) o km (km 101.350, 101+350)" }],
    ["km 99.000", { errore: "la linea non ha il km 99.000" }],
    ["km 150.000", { errore: "la linea non ha il km 150.000" }],
  ];
  for (const [testo, atteso] of casi) {
    assert.deepEqual(F.metro_del_testo(testo, CHILOMETRI, 8000), atteso, testo);
  }
  // A reading past the line's end is not on the line.
  assert.equal(F.metro_della_chilometrica(CHILOMETRI, 6000, 198500), null);
});

test("geometria: intervalli, pianta, quota", () => {
  const intervalli = [[0, 100, 80], [100, 250, null], [250, 400, 60]];
  const casi = [[-1, null], [0, 80], [99, 80], [100, null], [250, 60], [399, 60], [400, null]];
  for (const [m, atteso] of casi) { assert.equal(G.nell_intervallo(intervalli, m), atteso, "a " + m); }
  const lista = [{ posizione: 10 }, { posizione: 20 }, { posizione: 20, b: 1 }];
  assert.equal(G.ultimo_prima(lista, 5), null);
  assert.deepEqual(G.ultimo_prima(lista, 25), { posizione: 20, b: 1 });

  const pianta = [[0, 0, 0], [100, 100, 0], [200, 100, 50]];
  assert.deepEqual(G.punto_a(pianta, 50), [50, 0]);
  assert.deepEqual(G.punto_a(pianta, 150), [100, 25]);
  assert.deepEqual(G.punto_a(pianta, 200), [100, 50]);
  assert.equal(G.punto_a(pianta, 201), null);
  assert.equal(G.punto_a([], 0), null);
  assert.deepEqual(G.punti_tra(pianta, 50, 150), [[50, 50, 0], [100, 100, 0], [150, 100, 25]]);
  assert.deepEqual(G.punti_tra(pianta, 150, 300), [[150, 100, 25], [200, 100, 50]], "fine fuori pianta");

  const quota = [[0, 0], [100, 10], [300, -10]];
  for (const [m, q] of [[0, 0], [50, 5], [100, 10], [200, 0], [300, -10], [400, -10]]) {
    assert.equal(G.quota_a(quota, m), q, "quota a " + m);
  }
  assert.equal(G.quota_a([], 10), 0);
});

test("geometria: stessi", () => {
  const casi = [
    [1, 1, true], [1, 2, false], [null, null, true], [null, {}, false], [[1, [2]], [1, [2]], true],
    [[1, 2], [1], false], [{ a: 1, b: [1] }, { b: [1], a: 1 }, true], [{ a: 1 }, { a: 1, b: 2 }, false],
    [{ a: undefined }, { b: undefined }, false], [[], {}, false],
  ];
  for (const [a, b, atteso] of casi) { assert.equal(G.stessi(a, b), atteso, JSON.stringify([a, b])); }
});

test("geometria: la pianta in scala, i passi, i tratti", () => {
  const E = { min_x: 1000, max_x: 3000, min_y: -500, max_y: 500 };
  const { altezza, scala } = G.pianta_in_scala(E, 880);
  assert.equal(altezza, 440);
  // The wider side fills the drawing but for the margins, y upwards, the plan centred.
  // The height is the tighter: 384 units for 1000 m, and the 2000 m across are centred.
  assert.deepEqual(scala(1000, -500), [56, 412]);
  assert.deepEqual(scala(3000, 500), [824, 28]);
  assert.deepEqual(G.pianta_in_scala({ min_x: 0, max_x: 4000, min_y: 0, max_y: 1000 }, 880).scala(0, 0), [28, 263]);
  assert.equal(G.pianta_in_scala({ min_x: 0, max_x: 10000, min_y: 0, max_y: 0 }, 880).altezza, 320);
  assert.equal(G.passo_griglia(E), 1000);
  assert.equal(G.passo_griglia({ min_x: 0, max_x: 100000, min_y: 0, max_y: 10 }), 10000);
  for (const [metri, passo] of [[10, 1], [100, 10], [150, 10], [300, 20], [1000, 100], [2500, 200], [6000, 500], [900000, 50000]]) {
    assert.equal(G.passo_asse(metri), passo, "passo per " + metri + " m");
  }
  assert.equal(G.tratto([[0, 1, 2], [5, 3, 4]], (x, y) => [x * 2, y]), "M2.0 2.0L6.0 4.0");
  const gradini = G.gradini([[0, 10, 80], [10, 20, 60], [20, 30, null], [30, 40, 60]], (m) => m, (v) => 100 - v);
  assert.equal(gradini, "M0.0 20.0H10.0V40.0H20.0M30.0 40.0H40.0");
});

test("geometria: il tratto visibile e il metro vicino", () => {
  const punti = [];
  for (let i = 0; i <= 100; i++) { punti.push([i * 10, 0]); }
  // The whole line in a view of 1000 units: every point, or one in ten with a step of 100.
  assert.equal(G.tratto_visibile(punti, [0, -50, 1000, 100], 1).punti, 101);
  assert.equal(G.tratto_visibile(punti, [0, -50, 1000, 100], 100).punti, 11);
  const rado = G.tratto_visibile(punti, [0, -50, 1000, 100], 300);
  assert.equal(rado.d, "M0.0 0.0L300.0 0.0L600.0 0.0L900.0 0.0L1000.0 0.0", "uno ogni 300 unita' e l'ultimo");
  // A view of 0 to 100: points beyond twice the view on either side are left out.
  const vicino = G.tratto_visibile(punti, [0, -50, 100, 100], 0);
  assert.equal(vicino.punti, 22);
  assert.ok(vicino.d.startsWith("M0.0 0.0"));

  const pianta = [[0, 0, 0], [100, 100, 0], [200, 100, 100]];
  const in_scala = pianta.map((p) => [p[1], p[2]]);
  assert.equal(G.metro_vicino(pianta, in_scala, { x: 30, y: 5 }, 10), 30);
  assert.equal(G.metro_vicino(pianta, in_scala, { x: 105, y: 60 }, 10), 160);
  assert.equal(G.metro_vicino(pianta, in_scala, { x: 50, y: 20 }, 10), null, "troppo lontano");
});

test("etichette: dentro i bordi", () => {
  const casi = [
    // centre, half width, left edge, right edge: shift, anchor
    [50, 10, 0, 100, 0, "middle"],
    [5, 10, 0, 100, 5, "start"],
    [52, 20, 52, 880, 20, "start"],
    [875, 20, 52, 880, -15, "end"],
    [50, 80, 0, 100, 30, "start"],
  ];
  for (const [centro, mezza, s, d, spostamento, ancora] of casi) {
    assert.equal(T.spostamento_nei_bordi(centro, mezza, s, d), spostamento, JSON.stringify([centro, mezza]));
    assert.equal(T.ancora_nei_bordi(centro, mezza, s, d), ancora, JSON.stringify([centro, mezza]));
  }
  assert.ok(T.si_toccano([0, 0, 10, 10], [5, 5, 15, 15]));
  assert.ok(!T.si_toccano([0, 0, 10, 10], [10, 0, 20, 10]), "un lato in comune non e' sovrapporsi");
});

test("etichette: i nomi del profilo in righe, dentro il disegno", () => {
  // The first station on the left edge, the last on the right: both moved inside; the second
  // overlaps the first and goes up a row; one off the view is left out.
  const nomi = [{ centro: 50, mezza: 20 }, { centro: 70, mezza: 10 }, { centro: 300, mezza: 20 },
    { centro: 495, mezza: 30 }, { centro: 520, mezza: 5 }];
  assert.deepEqual(T.righe_dei_nomi(nomi, 2, 50, 500, 6), [
    { riga: 0, spostamento: 20 },
    { riga: 1, spostamento: 0 },
    { riga: 0, spostamento: 0 },
    { riga: 0, spostamento: -25 },
    { riga: -1, spostamento: 0 },
  ]);
  // No row free: left out.
  assert.deepEqual(T.righe_dei_nomi([{ centro: 100, mezza: 20 }, { centro: 110, mezza: 20 }], 1, 0, 500, 6)
    .map((r) => r.riga), [0, -1]);
});

test("etichette: i nomi in pianta, dentro la vista e lontani dai segni", () => {
  const misure = { altezza: 12, scostamento: 7 };
  const scatola = (x, y) => [x - 6, y - 6, x + 6, y + 6];
  const caso = (nomi, v) => T.lati_dei_nomi(nomi, nomi.map((n, i) => ({ nome: i, scatola: scatola(n.x, n.y) })),
    v, 1, misure);
  // Near the right edge a name goes left, near the left edge right.
  assert.deepEqual(caso([{ x: 190, y: 50, larghezza: 40, a_destra: true },
    { x: 10, y: 50, larghezza: 40, a_destra: false }], [0, 0, 200, 100]), ["sinistra", "destra"]);
  // Another station's marker on the right: the name goes left; covered on both sides: left out.
  assert.deepEqual(caso([{ x: 100, y: 50, larghezza: 40, a_destra: true },
    { x: 130, y: 50, larghezza: 10, a_destra: true }], [0, 0, 200, 100]), ["sinistra", "destra"]);
  assert.deepEqual(caso([{ x: 100, y: 50, larghezza: 40, a_destra: true }, { x: 130, y: 50, larghezza: 10, a_destra: true },
    { x: 70, y: 52, larghezza: 10, a_destra: true }], [0, 0, 200, 100]), [null, "destra", "destra"]);
  // A name already placed is not covered: the next takes the other side; too near the top
  // edge, none.
  assert.deepEqual(caso([{ x: 100, y: 50, larghezza: 40, a_destra: true },
    { x: 100, y: 58, larghezza: 40, a_destra: true }], [0, 0, 200, 100]), ["destra", "sinistra"]);
  assert.deepEqual(caso([{ x: 100, y: 2, larghezza: 40, a_destra: true }], [0, 0, 200, 100]), [null]);
  // Zoomed in twice (scale 0.5), the same name takes half the room: it fits on its side.
  const stretto = [{ x: 70, y: 50, larghezza: 40, a_destra: true }];
  assert.deepEqual(T.lati_dei_nomi(stretto, [], [0, 0, 100, 100], 1, misure), ["sinistra"]);
  assert.deepEqual(T.lati_dei_nomi(stretto, [], [0, 0, 100, 100], 0.5, misure), ["destra"]);
});

test("vista: zoom, tasti, centro, trascinamento", () => {
  const base = [0, 0, 880, 400];
  // A zoom about a point leaves that point where it was on screen.
  const z = V.zoomata([0, 0, 880, 400], 0.5, 220, 100, false);
  assert.deepEqual(z, [110, 50, 440, 200]);
  assert.deepEqual(V.zoomata([0, 0, 880, 400], 0.5, 220, 100, true), [110, 0, 440, 400], "solo lungo x");
  assert.deepEqual(V.limitata([-10, 5, 1000, 500], base, false), [-10, 5, 880, 400]);
  assert.deepEqual(V.limitata([-10, 5, 1000, 500], base, true), [-10, 5, 880, 500]);
  const casi = [
    ["+", false, [88, 40, 704, 320]], ["=", false, [88, 40, 704, 320]], ["-", false, [-110, -50, 1100, 500]],
    ["ArrowLeft", false, [-88, 0, 880, 400]], ["ArrowRight", true, [88, 0, 880, 400]],
    ["ArrowDown", false, [0, 40, 880, 400]], ["ArrowUp", true, null], ["a", false, null],
  ];
  for (const [k, solo_x, atteso] of casi) {
    const v = V.dopo_il_tasto([0, 0, 880, 400], k, solo_x);
    assert.deepEqual(v && v.map((n) => Math.round(n * 1000) / 1000), atteso, k);
  }
  assert.deepEqual(V.centrata(base, base, 100, 100, 4, false), [-10, 50, 220, 100], "dall'intera, ingrandita");
  assert.deepEqual(V.centrata([0, 0, 220, 100], base, 300, 300, 4, false), [190, 250, 220, 100]);
  assert.ok(V.intera(base, base) && !V.intera([0, 0, 800, 400], base));
  assert.ok(V.contiene([0, 0, 100, 100], 50, 500, true) && !V.contiene([0, 0, 100, 100], 50, 500, false));
  assert.deepEqual(V.trascinata([100, 100, 200, 100], 50, 20, 400, 200, false), [75, 90, 200, 100]);
  assert.deepEqual(V.trascinata([100, 100, 200, 100], 50, 20, 400, 200, true), [75, 100, 200, 100]);
});

test("pannelli: cio' che sta al metro, la stazione vicina", () => {
  const D = {
    chilometri: [[0, 0, 1]], metri_cella: 50, velocita: [[0, 500, 90]], pendenza: [[0, 200, 5], [200, 500, null]],
    quota: [[0, 0], [200, 1]], aderenza: [[0, 500, null]], gallerie: [[100, 150, 2]],
    cartelli: [{ posizione: 100, v: [80, 70, 60] }], testi: [{ posizione: 110, testo: "ATTENZIONE" }],
    rallentamenti: [{ inizio: 90, fine: 130, velocita: 30 }], abbattimenti: [],
    stazioni: [{ nome: "TAVENA", inizio: 80, fine: 140, orario: 3600, posizione: 120 }],
    segnali: [{ posizione: 149 }],
  };
  const pianta = [[0, 0, 0], [500, 500, 0]];
  assert.deepEqual(N.righe_del_metro(D, pianta, 120), [
    ["metro", "120 (km 0.120)"], ["pianta", "x 120, y 0 m"], ["velocit\u00e0 massima", "90 km/h"],
    ["cartelli A / B / C", "80 / 70 / 60 km/h"], ["pendenza", "5 \u2030"], ["quota", "1 m"], ["aderenza", "-"],
    ["galleria", "tipo 2"], ["rallentamento", "30 km/h, 90 \u2013 130 m"], ["stazione", "TAVENA, 1:00:00"],
    ["segnale", "149 m"], ["cartello", "A 80, B 70, C 60 km/h"], ["cartello", "ATTENZIONE"],
  ]);
  assert.deepEqual(N.righe_del_metro(D, [], 400).map((r) => r[0]), ["metro", "velocit\u00e0 massima",
    "cartelli A / B / C", "pendenza", "quota", "aderenza", "galleria"]);

  const stazioni = [{ posizione: 300 }, { posizione: 100 }, { posizione: 200 }];
  const casi = [
    [150, true, false, 200], [150, false, false, 100], [200, true, false, 300], [200, false, false, 100],
    [300, true, false, null], [100, false, false, null], [150, true, true, 100], [150, false, true, null],
  ];
  for (const [centro, avanti, intera, atteso] of casi) {
    const s = N.stazione_vicina(stazioni, centro, avanti, intera);
    assert.equal(s && s.posizione, atteso, JSON.stringify([centro, avanti, intera]));
  }
  assert.equal(N.stazione_vicina([], 0, true, true), null);
  assert.deepEqual(N.riga_stazione({ voce: 3, nome: "TAVENA", posizione: 120, inizio: 80, fine: 140, sosta: 0,
    orario: 0 }, D.chilometri), [3, "TAVENA", 120, "0.120", "80 \u2013 140", "", ""]);
});

test("rapporto: problemi e cambiamenti come la pagina li scrive", () => {
  const p = { file: "a_linea.txt", line: 3, column: 5, severity: "errore", code: 15, message: "fuori",
    source: "riga, 12a" };
  assert.equal(R.testo_problema(p), "a_linea.txt:3:5: errore 15: fuori");
  assert.equal(R.testo_problema({ ...p, file: "", code: null }), "errore: fuori");
  assert.equal(R.testo_problema({ ...p, line: 0, code: null }), "a_linea.txt: errore: fuori");
  assert.equal(R.riga_e_accento(p), "riga, 12a\n    ^");
  assert.equal(R.riga_e_accento({ ...p, line: 0 }), null);
  const casi = [
    [{ da: null, a: null, descrizione: "nome" }, "scenario: nome"],
    [{ da: 100, a: 100, descrizione: "stazione" }, "100 m: stazione"],
    [{ da: 100, a: 250, descrizione: "limite" }, "100-250 m: limite"],
  ];
  for (const [m, atteso] of casi) { assert.equal(R.testo_cambiamento(m), atteso); }
  assert.equal(R.titolo_cambiamenti({}), "Cambiato dalla compilazione precedente");
  assert.equal(R.titolo_cambiamenti({ confronto_con_ultima_valida: false }), "Cambiato dalla compilazione precedente");
  assert.equal(R.titolo_cambiamenti({ confronto_con_ultima_valida: true }),
    "Modifiche rispetto all'ultima compilazione senza errori");
  assert.equal(R.nessun_cambiamento({ numero: 1 }), "prima compilazione");
  assert.equal(R.nessun_cambiamento({ numero: 2 }), "nessun cambiamento");
  assert.match(R.stato({ errore: true }), /errore/);
});

test("aggiornamenti: quale compilazione si mostra, e le sue misure", () => {
  assert.ok(A.da_mostrare(null, { numero: 1 }));
  assert.ok(A.da_mostrare({ numero: 2 }, { numero: 3 }));
  assert.ok(!A.da_mostrare({ numero: 3 }, { numero: 3 }), "la stessa, una seconda volta");
  assert.ok(!A.da_mostrare({ numero: 3 }, { numero: 2 }));
  const c = { numero: 4, rilevato: 1000 };
  assert.deepEqual(A.misure_del_ridisegno(c, 1018, 1027), { "data-arrivo-ms": "18", "data-ritardo-ms": "27" });
  assert.deepEqual(A.misure_del_dipinto(c, 1041),
    { "data-ritardo-dipinto-ms": "41", "data-compilazione-dipinta": "4" });
});
