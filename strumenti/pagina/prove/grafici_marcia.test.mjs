// The charts of the timetable's check in headless Chromium, on the inspector's page of the
// built-in example and on the live page of the watch mode: both charts are drawn, the last
// stretch (CROSTIA to CROSTIA C.L.V., 3 min in the timetable, at least 4 min 3 s at the
// limits alone, the words of the compiler's warning) is marked on both as impossible for any train and listed with its figures,
// the charts follow the profile's zoom, and the time axis fits the metres shown. On the live
// page a save that gives the stretch time enough takes the mark away.
//
// COMPILA_SCENARIO and ISPEZIONA_SCENARIO name the programs; CARTELLA_FOTO, if set, the folder
// for the screenshots.

import { test } from "node:test";
import assert from "node:assert/strict";
import { spawn, execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const compila = process.env.COMPILA_SCENARIO;
const ispeziona = process.env.ISPEZIONA_SCENARIO;
const cartellaFoto = process.env.CARTELLA_FOTO || os.tmpdir();
const ATTESA_MS = 20000;
const ULTIMA = { da: 97800, a: 100850 };

function avviaBrowser(radice) {
  return puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--headless", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      `--user-data-dir=${path.join(radice, "profilo")}`],
  });
}

async function apri(browser, indirizzo, errori) {
  const pagina = await browser.newPage();
  pagina.on("pageerror", (e) => errori.push("pageerror: " + e.message));
  pagina.on("console", (m) => {
    if (m.type() === "error" && !(m.location().url || "").endsWith("/favicon.ico")) {
      errori.push("console: " + m.text());
    }
  });
  await pagina.setViewport({ width: 1280, height: 900 });
  await pagina.goto(indirizzo, { waitUntil: "load" });
  await pagina.waitForSelector("body[data-stato=pronto]", { timeout: ATTESA_MS });
  return pagina;
}

// What the two charts show: the paths drawn, the stretches marked, the panel's rows.
function grafici(pagina) {
  return pagina.evaluate(() => {
    const svg = (id) => document.getElementById(id);
    const d = (s, scelta) => [...s.querySelectorAll(scelta)].map((e) => e.getAttribute("d")).filter((x) => x);
    const segnate = (s) => [...s.querySelectorAll("rect.tratta-segnata")].map((r) =>
      ({ esito: r.getAttribute("data-esito"), da: Number(r.getAttribute("data-da")), a: Number(r.getAttribute("data-a")) }));
    const v = svg("svg-velocita"), t = svg("svg-tempi");
    return {
      velocita: { corsa: d(v, "path.corsa-velocita"), tetto: d(v, "path.tetto-marcia"),
        fermate: v.querySelectorAll("path.punto-fermata").length, segnate: segnate(v),
        alto: v.getBoundingClientRect().height },
      tempi: { corsa: d(t, "path.corsa-tempi"), orario: d(t, "path.orario-programmato"),
        punti: t.querySelectorAll("path.punto-orario").length, segnate: segnate(t),
        ritardi: t.querySelectorAll("path.ritardo-tratta").length, alto: t.getBoundingClientRect().height },
      righe: [...document.querySelectorAll("#righe-tratte tr")].map((r) => [...r.children].map((c) => c.textContent)),
      tabella: !document.getElementById("tabella-tratte").hidden,
      nota: document.getElementById("nota-marcia").textContent,
    };
  });
}

function ultimaSegnata(g) {
  for (const c of [g.velocita, g.tempi]) {
    assert.ok(c.alto > 100, "il grafico si vede: " + c.alto + " px");
    assert.deepEqual(c.segnate, [{ esito: "impossibile-con-ogni-treno", ...ULTIMA }], "segnata l'ultima tratta");
  }
  assert.ok(g.velocita.corsa.length === 1 && g.velocita.corsa[0].length > 1000, "la marcia piu' veloce");
  assert.ok(g.velocita.tetto.length === 1 && g.velocita.tetto[0].length > 100, "il tetto a gradini");
  assert.ok(g.velocita.fermate >= 10, "le fermate: " + g.velocita.fermate);
  assert.ok(g.tempi.corsa.length >= 10, "la marcia da ogni partenza: " + g.tempi.corsa.length);
  assert.equal(g.tempi.orario.length, 1, "la linea dell'orario");
  assert.equal(g.tempi.punti, g.tempi.corsa.length + 1, "un punto per ogni punto dell'orario");
  assert.equal(g.tempi.ritardi, 1, "l'arrivo piu' veloce dopo quello in orario");
  assert.ok(g.tabella, "la tabella delle tratte si vede");
  assert.deepEqual(g.righe, [["CROSTIA", "CROSTIA C.L.V.", "3050", "3 min", "4 min 28 s", "4 min 3 s",
    "-1 min 28 s", "impossibile con ogni treno"]]);
  assert.match(g.nota, /1 non in orario/);
}

const vista = (pagina, id) => pagina.$eval("#" + id, (s) => s.getAttribute("viewBox").split(" ").map(Number));

// The charts follow the profile's keys and the panel's row; the time axis fits what is shown.
async function seguonoIlProfilo(pagina) {
  const tempiPrima = await pagina.$eval("#svg-tempi", (s) => s.getAttribute("data-tempi"));
  await pagina.$eval("#svg-profilo", (s) => s.focus());
  for (const k of ["+", "+", "+", "+", "+", "+", "ArrowRight"]) {
    const prima = await pagina.$eval("#svg-tempi", (s) => s.getAttribute("data-vista"));
    await pagina.keyboard.press(k);
    await pagina.waitForFunction((p) => document.getElementById("svg-tempi").getAttribute("data-vista") !== p,
      { timeout: ATTESA_MS }, prima);
  }
  const profilo = await vista(pagina, "svg-profilo");
  for (const id of ["svg-velocita", "svg-tempi"]) {
    const v = await vista(pagina, id);
    assert.deepEqual([v[0], v[2]], [profilo[0], profilo[2]], id + " segue il profilo");
  }
  const tempiDopo = await pagina.$eval("#svg-tempi", (s) => s.getAttribute("data-tempi"));
  const [a, b] = tempiPrima.split(" ").map(Number), [c, d] = tempiDopo.split(" ").map(Number);
  assert.ok(d - c < (b - a) / 2, `l'asse dei tempi si stringe: ${tempiPrima} -> ${tempiDopo}`);
  // Keys on a chart move the profile too.
  await pagina.$eval("#svg-velocita", (s) => s.focus());
  const prima = await pagina.$eval("#svg-profilo", (s) => s.getAttribute("data-vista"));
  await pagina.keyboard.press("-");
  await pagina.waitForFunction((p) => document.getElementById("svg-profilo").getAttribute("data-vista") !== p,
    { timeout: ATTESA_MS }, prima);
  assert.deepEqual((await vista(pagina, "svg-profilo"))[2], (await vista(pagina, "svg-velocita"))[2]);
  // The panel's row brings the stretch into the middle of every chart.
  await pagina.click("#righe-tratte tr");
  await pagina.waitForFunction(() => {
    const s = document.getElementById("svg-tempi"), v = s.getAttribute("viewBox").split(" ").map(Number);
    const r = s.querySelector("rect.tratta-segnata"), x = Number(r.getAttribute("x")) + Number(r.getAttribute("width")) / 2;
    return Math.abs(v[0] + v[2] / 2 - x) < 0.5;
  }, { timeout: ATTESA_MS });
  const dettagli = await pagina.$eval("#dettagli", (e) => e.textContent);
  assert.match(dettagli, /trattaCROSTIA \u2013 CROSTIA C\.L\.V\.: impossibile con ogni treno/, dettagli);
}

function salvaComeEditor(file, testo) {
  const provvisorio = path.join(path.dirname(file), "." + path.basename(file) + ".salvataggio");
  fs.writeFileSync(provvisorio, testo);
  fs.renameSync(provvisorio, file);
}

test("i grafici della verifica dell'orario, sulla pagina dell'ispezione e dal vivo", async (t) => {
  assert.ok(compila && fs.existsSync(compila), "COMPILA_SCENARIO deve nominare il programma");
  assert.ok(ispeziona && fs.existsSync(ispeziona), "ISPEZIONA_SCENARIO deve nominare il programma");
  const radice = fs.mkdtempSync(path.join(os.tmpdir(), "grafici-marcia-"));
  const sorgenti = path.join(radice, "sorgenti"), uscita = path.join(radice, "uscita");
  fs.mkdirSync(sorgenti);
  fs.mkdirSync(uscita);
  execFileSync(compila, ["--esempio", sorgenti]);
  const linea = path.join(sorgenti, "Tavena_Crostia_linea.txt"), treno = path.join(sorgenti, "Tavena_Crostia_4417-.txt");
  const browser = await avviaBrowser(radice);
  const errori = [];
  try {
    await t.test("la pagina dell'ispezione", async () => {
      execFileSync(compila, [linea, treno, "--cartella", uscita], { stdio: "ignore" });
      const html = path.join(radice, "linea.html");
      execFileSync(ispeziona, [uscita, "--html", html]);
      const pagina = await apri(browser, "file://" + html, errori);
      ultimaSegnata(await grafici(pagina));
      const el = await pagina.$("#marcia");
      await el.screenshot({ path: path.join(cartellaFoto, "pagina_marcia.png") });
      await seguonoIlProfilo(pagina);
      await el.screenshot({ path: path.join(cartellaFoto, "pagina_marcia_ultima_tratta.png") });
      await pagina.close();
    });

    await t.test("la pagina dal vivo", async () => {
      const figlio = spawn(compila, [linea, treno, "--cartella", uscita, "--osserva", "--porta", "0"],
        { stdio: ["ignore", "pipe", "pipe"] });
      try {
        let testo = "";
        const url = await new Promise((risolvi, rifiuta) => {
          const limite = setTimeout(() => rifiuta(new Error("nessun indirizzo: " + testo)), ATTESA_MS);
          figlio.stdout.on("data", (d) => {
            testo += d;
            const m = /pagina su (http:\/\/127\.0\.0\.1:\d+\/)/.exec(testo);
            if (m) { clearTimeout(limite); risolvi(m[1]); }
          });
        });
        const pagina = await apri(browser, url, errori);
        ultimaSegnata(await grafici(pagina));
        const problemi = await pagina.$$eval("#problemi li.avviso .messaggio", (l) => l.map((e) => e.textContent));
        assert.ok(problemi.some((p) => p.includes("orario-impossibile-con-ogni-treno") &&
          p.includes("Tavena_Crostia_4417-.txt:")), JSON.stringify(problemi));
        // Five minutes more for the last stretch: every stretch in time, no mark left.
        const numero = await pagina.$eval("body", (b) => Number(b.getAttribute("data-compilazione")));
        const prima = fs.readFileSync(treno, "latin1");
        const dopo = prima.replace(/ 8,15, 0, CROSTIA C\.L\.V\./, " 8,20, 0, CROSTIA C.L.V.");
        assert.notEqual(dopo, prima);
        salvaComeEditor(treno, Buffer.from(dopo, "latin1"));
        await pagina.waitForFunction((n) => Number(document.body.getAttribute("data-compilazione")) > n,
          { timeout: ATTESA_MS }, numero);
        const g = await grafici(pagina);
        assert.deepEqual([g.velocita.segnate, g.tempi.segnate, g.righe, g.tabella], [[], [], [], false]);
        assert.match(g.nota, /tutte in orario/);
        await pagina.close();
      } finally {
        figlio.kill("SIGINT");
      }
    });
    assert.deepEqual(errori, [], "nessun errore nelle pagine");
  } finally {
    await browser.close();
    fs.rmSync(radice, { recursive: true, force: true });
  }
});
