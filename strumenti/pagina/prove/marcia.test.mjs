// The page's pure functions for the timetable's check, loaded in node without a browser: the
// words of durations and verdicts, the run's values at a metre, its times of day from each
// departure, the timetable's path, the times a view spans and its axis, the layout across
// that the drawings along the chainage share, the views that follow one another, and the
// speed chart's scale.

import { test } from "node:test";
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const cartella = path.join(path.dirname(fileURLToPath(import.meta.url)), "..");
const require = createRequire(import.meta.url);
const elenco = /set\(moduli_pagina([^)]*)\)/.exec(fs.readFileSync(path.join(cartella, "CMakeLists.txt"), "utf8"));
for (const m of elenco[1].trim().split(/\s+/)) { require(path.join(cartella, m)); }
const { marcia: K, progressiva: L, vista: V, tempi: T, velocita: W } = globalThis.Pagina;

// A small check: a stop at 100 m (departs 8:00:00), a point passed at 1100 m (8:01:00), a stop
// at 2100 m (arrives 8:02:30). The run accelerates to 72 km/h, holds it, and brakes.
const M = {
  tetto: [[0, 600, 80], [600, 2200, 100]],
  tetto_treno: [[100, 2100, 72]],
  rallentamenti: [],
  corsa: [[100, 0, 0], [300, 72, 20], [1100, 72, 60], [1900, 72, 100], [2100, 0, 120]],
  punti: [
    { voce: 1, nome: "A", metro: 100, fermata: true, arrivo: 28800, partenza: 28800 },
    { voce: 2, nome: "B", metro: 1100, fermata: false, arrivo: 28860, partenza: 28860 },
    { voce: 3, nome: "C", metro: 2100, fermata: true, arrivo: 28950, partenza: 28950 },
  ],
  tratte: [
    { da: "A", a: "B", da_m: 100, a_m: 1100, metri: 1000, programmato_s: 60, piu_veloce_s: 60,
      limite_s: 45, margine_s: 0, esito: "stretto" },
    { da: "B", a: "C", da_m: 1100, a_m: 2100, metri: 1000, programmato_s: 90, piu_veloce_s: 60,
      limite_s: 36, margine_s: 30, esito: "ok" },
  ],
};

test("marcia: le durate come le dicono gli avvisi, gli esiti in parole", () => {
  const casi = [[0, "0 s"], [45, "45 s"], [180, "3 min"], [243.4, "4 min 3 s"], [3725, "1 h 2 min 5 s"],
    [3605, "1 h 5 s"], [-88.3, "-1 min 28 s"], [-0.2, "0 s"], [59.5, "1 min"], [null, "mai"]];
  for (const [s, atteso] of casi) { assert.equal(K.durata(s), atteso, String(s)); }
  assert.equal(K.testo_esito("impossibile-con-ogni-treno"), "impossibile con ogni treno");
  assert.equal(K.testo_esito("ok"), "in orario");
});

test("marcia: i valori della corsa a un metro", () => {
  const casi = [[100, 0], [200, 36], [300, 72], [700, 72], [2000, 36], [2100, 0], [99, null], [2101, null]];
  for (const [m, atteso] of casi) { assert.equal(K.valore_a(M.corsa, m, 1), atteso, "velocita' a " + m); }
  assert.equal(K.valore_a(M.corsa, 1500, 2), 80);
  assert.equal(K.valore_a([[0, 1, null], [10, 1, null]], 5, 2), null, "un tempo che non finisce");
});

test("marcia: la corsa da ogni partenza e la linea dell'orario", () => {
  const corse = K.corse_dall_orario(M);
  assert.deepEqual(corse[0], [[100, 28800], [300, 28820], [1100, 28860]]);
  // The second stretch leaves at its own time, not at the end of the first's run.
  assert.deepEqual(corse[1], [[1100, 28860], [1900, 28900], [2100, 28920]]);
  const conSosta = { ...M, punti: M.punti.map((p, i) => i === 1 ? { ...p, fermata: true, arrivo: 28840 } : p) };
  assert.deepEqual(K.linea_orario(conSosta),
    [[100, 28800], [1100, 28840], [1100, 28860], [2100, 28950]], "una sosta: l'arrivo e la partenza");
  assert.deepEqual(K.linea_orario(M), [[100, 28800], [1100, 28860], [2100, 28950]]);
});

test("marcia: i tempi di una vista, il passo e le ore dell'asse", () => {
  const linee = [[[0, 100], [1000, 200]], [[500, 120], [1500, 400]], [[2000, 500], [2000, 560], [3000, 600]]];
  const casi = [
    [-Infinity, Infinity, [100, 600]],
    [250, 750, [120, 190]],
    [1600, 1900, null],
    // At a stop on the edge of the view, its arrival on the left and its departure on the right.
    [2000, 2500, [500, 580]],
    [1200, 2000, [316, 560]],
  ];
  for (const [m0, m1, atteso] of casi) { assert.deepEqual(K.tempi_in_vista(linee, m0, m1), atteso, m0 + "-" + m1); }
  const passi = [[30, 10], [300, 60], [1000, 300], [3600, 600], [8000, 1800], [40000, 7200]];
  for (const [s, atteso] of passi) { assert.equal(K.passo_tempo(s), atteso, "passo per " + s + " s"); }
  assert.equal(K.ora_asse(28800, 300), "8:00");
  assert.equal(K.ora_asse(29730, 30), "8:15:30");
  assert.equal(K.ora_asse(86400 + 600, 300), "0:10", "dopo la mezzanotte");
});

test("marcia: le tratte fuori orario, le righe al metro, la nota", () => {
  assert.deepEqual(K.fuori_orario(M).map((t) => t.a), ["B"]);
  assert.deepEqual(K.cifre_tratta(M.tratte[0]), ["A", "B", "1000", "1 min", "1 min", "45 s", "0 s", "stretto"]);
  assert.deepEqual(K.righe_del_metro(M, 200), [["tetto della verifica", "80 km/h"],
    ["marcia pi\u00f9 veloce", "36.0 km/h"], ["tratta", "A \u2013 B: stretto"]]);
  assert.deepEqual(K.righe_del_metro(undefined, 200), []);
  assert.match(K.nota(M), /^2 tratte, 1 non in orario\./);
  assert.match(K.nota(undefined), /Nessuna verifica/);
  assert.equal(K.nota({ ...M, difetto: "il numero di carrozze e' negativo: -1" }),
    "Nessuna marcia: il numero di carrozze e' negativo: -1.");
});

test("progressiva: una scala per tutti i disegni lungo la linea", () => {
  const S = L.scala(10000);
  assert.equal(S.xm(0), L.LARGO.sinistra);
  assert.equal(S.xm(10000), L.LARGO.larghezza - L.LARGO.destra);
  for (const m of [0, 1234, 10000]) { assert.ok(Math.abs(S.metro_di(S.xm(m)) - m) < 1e-9, "inverso a " + m); }
  const base = [0, 0, L.LARGO.larghezza, 200];
  const [m0, m1] = L.metri_in_vista(base, base, S);
  assert.ok(Math.abs(m0) < 1e-9 && m1 > 10000, `la vista intera: ${m0}-${m1}`);
  // Zoomed in twice, the metres shown right of the labels' margin.
  const v = [S.xm(5000), 0, base[2] / 2, 200];
  const [a, b] = L.metri_in_vista(v, base, S);
  assert.ok(a > 5000 && b > a && Math.abs(b - S.metro_di(v[0] + v[2])) < 1e-9, `${a}-${b}`);
});

test("vista: una vista segue l'altra lungo x", () => {
  assert.deepEqual(V.seguita([0, 5, 880, 240], [120, 0, 300, 530]), [120, 5, 300, 240]);
});

test("tempi: l'asse dei tempi di una vista", () => {
  const R = T.trasformazione_tempi(28800, 29400, 26, 246);
  assert.ok(Math.abs(R.k * 28800 + R.b - 26) < 1e-9 && Math.abs(R.k * 29400 + R.b - 246) < 1e-9);
  assert.match(R.testo, /^matrix\(1 0 0 [\d.e-]+ 0 [-\d.e]+\)$/);
  assert.deepEqual(T.tempi_con_agio([1000, 1000]), [1000 - 60 * 1.12, 1000 + 60 * 1.12], "almeno due minuti");
  const [a, b] = T.tempi_con_agio([0, 1000]);
  assert.ok(a < 0 && b > 1000 && Math.abs(a + b - 1000) < 1e-9);
  assert.equal(T.linea_tempi([[0, 10], [1000, 20]], (m) => m / 10), "M0.00 10L100.00 20");
});

test("velocita: la scala e la linea della corsa", () => {
  assert.equal(W.velocita_massima(M), 100);
  assert.equal(W.velocita_massima({ tetto: [[0, 10, 0]], corsa: [] }), 40);
  assert.equal(W.linea([[0, 1], [10, null], [20, 3], [30, 4]], 1, (m) => m, (v) => v), "M0.00 1.0M20.00 3.0L30.00 4.0");
  const Q = { lunghezza: 100, D: { marcia: M } };
  assert.deepEqual(W.chiave(Q), [100, M]);
  assert.deepEqual(W.chiave({ lunghezza: 100, D: {} }), [100, null]);
});
