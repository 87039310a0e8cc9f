// The timetable check computed again from the model's data, apart from the C++ code and by
// other means: steps of half a metre, a midpoint step for the acceleration, the train's
// ceiling as the lowest cell under it, the ceilings from the chainage rule itself.
// Reads one JSON object (file given as the first argument): the parameters by their keys, the
// train (vetture, massa_frenata), the cells as [velocita_massima, pendenza_cella, genere,
// valore_1], the stations as entries. Writes one JSON object per stretch, one per line.
import { readFileSync } from 'node:fs';

const ingresso = JSON.parse(readFileSync(process.argv[2], 'utf8'));
const p = ingresso.parametri;
const celle = ingresso.celle;
const PASSO = 0.5;

// x / 50 rounded to the nearest integer, halves to the even neighbour.
function cella(x) {
  const q = x / 50;
  const f = Math.floor(q);
  const r = q - f;
  let k = r > 0.5 || (r === 0.5 && f % 2 !== 0) ? f + 1 : f;
  return Math.min(Math.max(k, 0), celle.length - 1);
}

// The line speed in km/h by cell, lowered from each slow-down's start cell through the next
// end cell.
const tettoCella = celle.map((c) => c[0] * 5);
for (let k = 0; k < celle.length; ++k) {
  if (celle[k][2] === 3) {
    const v = celle[k][3];
    for (let j = k; j < celle.length; ++j) {
      tettoCella[j] = Math.max(0, Math.min(tettoCella[j], v));
      if (celle[j][2] === 2) break;
    }
  }
}
const tettoMs = (x) => tettoCella[cella(x)] / 3.6;

const n = ingresso.vetture;
const massa = (p.massa_locomotiva_t + p.massa_carro_t * n) * 1000;
const lunghezza = p.lunghezza_locomotiva_m + p.lunghezza_carro_m * n;
const rho = p.fattore_masse_rotanti;
const g = p.gravita_ms2;
const pendenza = (x) => celle[cella(x)][1] - 100;

function accelerazione(v, x) {
  const f = v > 0 ? Math.min(p.sforzo_massimo_kn * 1000, (p.potenza_kw * 1000) / v)
                  : p.sforzo_massimo_kn * 1000;
  const V = v * 3.6;
  const r = (massa * g * (p.resistenza_costante + p.resistenza_quadratica * V * V)) / 1000;
  return (f - r) / (rho * massa) - (g * pendenza(x)) / 1000;
}
function frenatura(x) {
  const b = Math.min(p.frenatura_massima_ms2,
                     (p.frenatura_per_massa_frenata_ms2 * ingresso.massa_frenata) / 100);
  return Math.max(p.frenatura_minima_ms2, b + (g * pendenza(x)) / 1000);
}
// The lowest ceiling of the cells under the train with its head at x.
function tettoTreno(x) {
  let t = Infinity;
  for (let k = cella(x - lunghezza); k <= cella(x); ++k) t = Math.min(t, tettoCella[k] / 3.6);
  return t;
}

// The timed points.
const punti = [];
for (const s of ingresso.stazioni) {
  if (s.orario === 0) continue;
  punti.push({ ...s, ferma: s.sosta > 0 });
}
punti[0].ferma = true;
punti[punti.length - 1].ferma = true;
for (const [i, s] of punti.entries()) {
  s.arrivo = s.orario - (s.ferma && i > 0 && i < punti.length - 1 ? s.sosta : 0);
  s.posizione = s.progressiva;
  if (s.ferma && s.categoria < 25) {
    const k = celle.findIndex((c) => c[2] === 10 && c[3] === s.voce);
    s.posizione = 50 * (k >= 0 ? k : cella(s.fine_area - 50));
  }
}

// The speed at each half metre, from stop to stop.
const x0 = punti[0].posizione;
const passi = Math.round((punti[punti.length - 1].posizione - x0) / PASSO);
const xDi = (i) => x0 + i * PASSO;
const v = new Float64Array(passi + 1);
for (let i = 0; i <= passi; ++i) v[i] = tettoTreno(xDi(i));
const fermate = punti.filter((s) => s.ferma).map((s) => Math.round((s.posizione - x0) / PASSO));
for (let f = 0; f + 1 < fermate.length; ++f) {
  const [da, a] = [fermate[f], fermate[f + 1]];
  let w = 0;
  v[da] = 0;
  for (let i = da; i < a; ++i) {
    const x = xDi(i);
    const vm = Math.sqrt(Math.max(0, w + accelerazione(Math.sqrt(w), x) * PASSO));
    w = Math.max(0, w + 2 * accelerazione(vm, x + PASSO / 2) * PASSO);
    w = Math.min(w, v[i + 1] * v[i + 1]);
    v[i + 1] = Math.sqrt(w);
  }
  w = 0;
  v[a] = 0;
  for (let i = a - 1; i >= da; --i) {
    w = Math.min(v[i] * v[i], w + 2 * frenatura(xDi(i) + PASSO / 2) * PASSO);
    v[i] = Math.sqrt(w);
  }
}

function tempoPiuVeloce(da, a) {
  let t = 0;
  for (let i = Math.round((da - x0) / PASSO); i < Math.round((a - x0) / PASSO); ++i) {
    t += v[i] + v[i + 1] > 0 ? (2 * PASSO) / (v[i] + v[i + 1]) : Infinity;
  }
  return t;
}
function tempoLimite(da, a) {
  let t = 0;
  for (let x = da; x < a; x += PASSO) {
    const c = tettoMs(x + PASSO / 2);
    t += c > 0 ? PASSO / c : Infinity;
  }
  return t;
}

for (let j = 1; j < punti.length; ++j) {
  const [a, b] = [punti[j - 1], punti[j]];
  console.log(JSON.stringify({
    voce_da: a.voce,
    voce_a: b.voce,
    metri: b.posizione - a.posizione,
    programmato_s: b.arrivo - a.orario,
    piu_veloce_s: tempoPiuVeloce(a.posizione, b.posizione),
    limite_s: tempoLimite(a.posizione, b.posizione),
  }));
}
