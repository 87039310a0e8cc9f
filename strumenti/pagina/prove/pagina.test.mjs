// The page that ispeziona_scenario --html writes, opened from its file in headless Chromium and
// used as a person uses it: keys zoom and move both drawings, Page Down goes to the next
// station, the field goes to a chainage and to a kilometre reading, a click in the profile
// brings the point into the plan, the station names in the profile never overlap, and no
// script error is raised. The page of the 1000 km line gets the same keys, and its plan draws
// fewer points than it holds.
//
// COMPILA_SCENARIO and ISPEZIONA_SCENARIO name the programs; ISPEZIONA_SCENARIO_TEST names the
// test program that writes the 1000 km line's page to PAGINA_LINEA_LUNGA.

import { test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const compila = process.env.COMPILA_SCENARIO;
const ispeziona = process.env.ISPEZIONA_SCENARIO;
const ATTESA_MS = 20000;

// The built-in example compiled and its page written; returns the page's path.
function paginaIncorporata(radice) {
  const sorgenti = path.join(radice, "sorgenti");
  const uscita = path.join(radice, "uscita");
  fs.mkdirSync(sorgenti);
  fs.mkdirSync(uscita);
  execFileSync(compila, ["--esempio", sorgenti]);
  execFileSync(compila, [path.join(sorgenti, "Tavena_Crostia_linea.txt"),
    path.join(sorgenti, "Tavena_Crostia_4417-.txt"), "--cartella", uscita]);
  const html = path.join(radice, "linea.html");
  execFileSync(ispeziona, [uscita, "--html", html]);
  return html;
}

async function apri(browser, html, errori) {
  const pagina = await browser.newPage();
  pagina.on("pageerror", (e) => errori.push("pageerror: " + e.message));
  pagina.on("console", (m) => { if (m.type() === "error") { errori.push("console: " + m.text()); } });
  pagina.on("request", (r) => {
    if (!r.url().startsWith("file://")) { errori.push("richiesta esterna: " + r.url()); }
  });
  await pagina.setViewport({ width: 1280, height: 900 });
  await pagina.goto("file://" + html, { waitUntil: "load" });
  await pagina.waitForSelector("body[data-stato=pronto]", { timeout: ATTESA_MS });
  return pagina;
}

// Puppeteer focuses HTML elements only; the drawings take the focus through their tabindex.
const fuoco = (pagina, id) => pagina.$eval("#" + id, (s) => s.focus());

const vista = (pagina, id) => pagina.$eval("#" + id, (s) => s.getAttribute("viewBox").split(" ").map(Number));

// Presses a key and waits until the drawing has laid itself out for the new view.
async function premi(pagina, id, tasto) {
  const prima = await pagina.$eval("#" + id, (s) => s.getAttribute("data-vista"));
  await pagina.keyboard.press(tasto);
  await pagina.waitForFunction((i, p) => document.getElementById(i).getAttribute("data-vista") !== p,
    { timeout: ATTESA_MS }, id, prima);
}

// The centre of the profile's view and the x of the station's line there.
async function centroEStazione(pagina, voce) {
  return pagina.evaluate((v) => {
    const b = document.getElementById("svg-profilo").getAttribute("viewBox").split(" ").map(Number);
    const linea = document.querySelector(`#svg-profilo line.stazione-profilo[data-voce="${v}"]`);
    return { centro: b[0] + b[2] / 2, stazione: Number(linea.getAttribute("x1")) };
  }, voce);
}

// Boxes of the station names shown in the profile (or on the plan), and how many are left out.
function nomiVisibili(pagina, scelta = "#svg-profilo text.nome-profilo") {
  return pagina.$$eval(scelta, (l) => {
    const mostrati = l.filter((e) => getComputedStyle(e).display !== "none");
    return {
      scatole: mostrati.map((e) => {
        const r = e.getBoundingClientRect();
        return { nome: e.textContent, x: r.left, y: r.top, l: r.width, a: r.height };
      }),
      lasciati: l.length - mostrati.length,
    };
  });
}

function nessunaSovrapposizione(scatole) {
  for (let i = 0; i < scatole.length; i++) {
    for (let j = i + 1; j < scatole.length; j++) {
      const a = scatole[i], b = scatole[j];
      const separati = a.x + a.l <= b.x || b.x + b.l <= a.x || a.y + a.a <= b.y || b.y + b.a <= a.y;
      assert.ok(separati, `${a.nome} e ${b.nome} si sovrappongono: ${JSON.stringify([a, b])}`);
    }
  }
}

// The metre that the side panel says is shown.
const metroMostrato = (pagina) => pagina.$eval("#dettagli dd", (e) => Number(e.textContent.split(" ")[0]));

// Points drawn in the plan's line and its part beyond the end.
const puntiDisegnati = (pagina) => pagina.$$eval("#svg-pianta path.linea-pianta, #svg-pianta path.oltre-la-linea",
  (l) => l.reduce((n, p) => n + (p.getAttribute("d").match(/[ML]/g) || []).length, 0));

async function tastiSuiDisegni(pagina) {
  await fuoco(pagina, "svg-pianta");
  const pianta = await vista(pagina, "svg-pianta");
  await premi(pagina, "svg-pianta", "+");
  const ingrandita = await vista(pagina, "svg-pianta");
  assert.ok(ingrandita[2] < pianta[2] && ingrandita[3] < pianta[3], `+ ingrandisce: ${pianta} -> ${ingrandita}`);
  await premi(pagina, "svg-pianta", "ArrowRight");
  const destra = await vista(pagina, "svg-pianta");
  assert.ok(destra[0] > ingrandita[0] && destra[2] === ingrandita[2], `freccia a destra: ${ingrandita} -> ${destra}`);
  await premi(pagina, "svg-pianta", "ArrowDown");
  const giu = await vista(pagina, "svg-pianta");
  assert.ok(giu[1] > destra[1], `freccia in giu': ${destra} -> ${giu}`);
  await premi(pagina, "svg-pianta", "-");
  const ridotta = await vista(pagina, "svg-pianta");
  assert.ok(ridotta[2] > giu[2], `- riduce: ${giu} -> ${ridotta}`);

  await fuoco(pagina, "svg-profilo");
  const profilo = await vista(pagina, "svg-profilo");
  await premi(pagina, "svg-profilo", "+");
  await premi(pagina, "svg-profilo", "+");
  const stretto = await vista(pagina, "svg-profilo");
  assert.ok(stretto[2] < profilo[2] && stretto[3] === profilo[3], `+ stringe il profilo lungo x: ${stretto}`);
  await premi(pagina, "svg-profilo", "ArrowLeft");
  await premi(pagina, "svg-profilo", "ArrowLeft");
  const sinistra = await vista(pagina, "svg-profilo");
  assert.ok(sinistra[0] < stretto[0], `freccia a sinistra: ${stretto} -> ${sinistra}`);
  // The plan did not move with the profile's keys.
  assert.deepEqual(await vista(pagina, "svg-pianta"), ridotta);
}

test("la pagina di ispeziona_scenario --html in Chromium", async (t) => {
  assert.ok(compila && fs.existsSync(compila), "COMPILA_SCENARIO deve nominare il programma");
  assert.ok(ispeziona && fs.existsSync(ispeziona), "ISPEZIONA_SCENARIO deve nominare il programma");
  const radice = fs.mkdtempSync(path.join(os.tmpdir(), "pagina-"));
  const html = paginaIncorporata(radice);
  const errori = [];
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--headless", "--disable-gpu", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      `--user-data-dir=${path.join(radice, "profilo")}`],
  });
  try {
    const pagina = await apri(browser, html, errori);
    const stazioni = await pagina.$$eval("#righe-stazioni tr", (righe) => righe.map((r) => {
      const c = [...r.children].map((td) => td.textContent);
      return { voce: c[0], nome: c[1], posizione: Number(c[2]), km: c[3] };
    }));
    assert.ok(stazioni.length > 3, "stazioni nella tabella: " + stazioni.length);

    await t.test("i nomi delle stazioni nel profilo e in pianta non si sovrappongono", async () => {
      const tutta = await nomiVisibili(pagina);
      assert.ok(tutta.scatole.length > 0, "qualche nome e' mostrato");
      nessunaSovrapposizione(tutta.scatole);
      const inPianta = await nomiVisibili(pagina, "#svg-pianta text.nome-stazione");
      assert.ok(inPianta.scatole.length > 0, "qualche nome e' mostrato in pianta");
      nessunaSovrapposizione(inPianta.scatole);
      // Every station, shown by name or not, is named on hover.
      const titoli = await pagina.$$eval("#svg-profilo .presa-stazione title", (l) => l.map((e) => e.textContent));
      for (const s of stazioni) {
        assert.ok(titoli.some((x) => x.startsWith(s.nome + " (" + s.posizione + " m")), "titolo di " + s.nome);
      }
      // Zoomed in, more room: names are still apart, and none is left out that was shown.
      await fuoco(pagina, "svg-profilo");
      for (let i = 0; i < 6; i++) { await premi(pagina, "svg-profilo", "+"); }
      const vicina = await nomiVisibili(pagina);
      nessunaSovrapposizione(vicina.scatole);
      await fuoco(pagina, "svg-pianta");
      for (let i = 0; i < 3; i++) { await premi(pagina, "svg-pianta", "+"); }
      nessunaSovrapposizione((await nomiVisibili(pagina, "#svg-pianta text.nome-stazione")).scatole);
      await pagina.$eval("#svg-pianta", (s) => s.dispatchEvent(new MouseEvent("dblclick")));
      await pagina.$eval("#svg-profilo", (s) => s.dispatchEvent(new MouseEvent("dblclick")));
      await pagina.waitForFunction(() => {
        const v = document.getElementById("svg-profilo").getAttribute("viewBox").split(" ").map(Number);
        return v[0] === 0 && v[2] === 880;
      }, { timeout: ATTESA_MS });
    });

    await t.test("tasti: + e - ingrandiscono, le frecce spostano", async () => {
      await tastiSuiDisegni(pagina);
    });

    await t.test("il campo va a una progressiva e a una chilometrica", async () => {
      async function vaiA(testo) {
        await pagina.click("#vai-a", { clickCount: 3 });
        await pagina.keyboard.type(testo);
        await pagina.keyboard.press("Enter");
      }
      await vaiA("12400");
      assert.equal(await metroMostrato(pagina), 12400);
      const c = await pagina.$eval("#svg-profilo .cursore", (e) => Number(e.getAttribute("x1")));
      const v = await vista(pagina, "svg-profilo");
      assert.ok(Math.abs(v[0] + v[2] / 2 - c) < 0.01, `il profilo e' centrato su 12400: ${v}, cursore ${c}`);
      // The reading the table gives for a station, written both ways, goes to that station.
      const s = stazioni[Math.floor(stazioni.length / 2)];
      const [k, m] = s.km.split(".");
      await vaiA("km " + s.km);
      assert.equal(await metroMostrato(pagina), s.posizione, `km ${s.km} e' ${s.nome}`);
      await vaiA("12400");
      await vaiA(`${k}+${m}`);
      assert.equal(await metroMostrato(pagina), s.posizione, `${k}+${m} e' ${s.nome}`);
      const dopo = await centroEStazione(pagina, s.voce);
      assert.ok(Math.abs(dopo.centro - dopo.stazione) < 0.01, JSON.stringify(dopo));
      await vaiA("km 99999.000");
      assert.match(await pagina.$eval("#esito-vai", (e) => e.textContent), /non ha il km/);
      await vaiA("dodici");
      assert.match(await pagina.$eval("#esito-vai", (e) => e.textContent), /non si legge/);
    });

    await t.test("Pagina giu' e su: la stazione seguente e la precedente", async () => {
      await pagina.click("#vai-a", { clickCount: 3 });
      await pagina.keyboard.type("12400");
      await pagina.keyboard.press("Enter");
      await fuoco(pagina, "svg-profilo");
      const ordinate = [...stazioni].sort((a, b) => a.posizione - b.posizione);
      const seguente = ordinate.find((s) => s.posizione > 12400);
      const dopo = ordinate[ordinate.indexOf(seguente) + 1];
      await premi(pagina, "svg-profilo", "PageDown");
      let c = await centroEStazione(pagina, seguente.voce);
      assert.ok(Math.abs(c.centro - c.stazione) < 0.01, `al centro ${seguente.nome}: ${JSON.stringify(c)}`);
      assert.equal(await metroMostrato(pagina), seguente.posizione);
      await premi(pagina, "svg-profilo", "PageDown");
      c = await centroEStazione(pagina, dopo.voce);
      assert.ok(Math.abs(c.centro - c.stazione) < 0.01, `al centro ${dopo.nome}: ${JSON.stringify(c)}`);
      await premi(pagina, "svg-profilo", "PageUp");
      c = await centroEStazione(pagina, seguente.voce);
      assert.ok(Math.abs(c.centro - c.stazione) < 0.01, `di nuovo ${seguente.nome}: ${JSON.stringify(c)}`);
      // The plan is centred on the same station.
      const p = await pagina.evaluate((v) => {
        const b = document.getElementById("svg-pianta").getAttribute("viewBox").split(" ").map(Number);
        const s = document.querySelector(`#svg-pianta circle.marcatore-stazione[data-voce="${v}"]`);
        return [b[0] + b[2] / 2 - Number(s.getAttribute("cx")), b[1] + b[3] / 2 - Number(s.getAttribute("cy"))];
      }, seguente.voce);
      assert.ok(Math.abs(p[0]) < 0.01 && Math.abs(p[1]) < 0.01, "pianta centrata: " + p);
      const nomi = await nomiVisibili(pagina);
      nessunaSovrapposizione(nomi.scatole);
    });

    await t.test("l'elenco delle stazioni centra entrambi i disegni", async () => {
      const s = stazioni[2];
      await pagina.click(`#elenco-stazioni button[data-voce="${s.voce}"]`);
      const c = await centroEStazione(pagina, s.voce);
      assert.ok(Math.abs(c.centro - c.stazione) < 0.01, JSON.stringify(c));
      assert.equal(await metroMostrato(pagina), s.posizione);
    });

    await t.test("un clic nel profilo mostra il punto in pianta", async () => {
      // The plan zoomed far in on one end, then a click on the profile near the other end.
      await pagina.click(`#elenco-stazioni button[data-voce="${stazioni[0].voce}"]`);
      await fuoco(pagina, "svg-pianta");
      for (let i = 0; i < 8; i++) { await premi(pagina, "svg-pianta", "+"); }
      await pagina.$eval("#svg-profilo", (s) => s.dispatchEvent(new MouseEvent("dblclick")));
      const svg = await pagina.$("#svg-profilo");
      await svg.scrollIntoView();
      const r = await svg.boundingBox();
      await pagina.mouse.click(r.x + r.width * 0.9, r.y + r.height * 0.5);
      await pagina.waitForFunction(() => {
        const b = document.getElementById("svg-pianta").getAttribute("viewBox").split(" ").map(Number);
        const p = document.querySelector("#svg-pianta circle[r='7']");
        const x = Number(p.getAttribute("cx")), y = Number(p.getAttribute("cy"));
        return p.getAttribute("visibility") === "visible" && x >= b[0] && x <= b[0] + b[2] &&
          y >= b[1] && y <= b[1] + b[3];
      }, { timeout: ATTESA_MS });
      const m = await metroMostrato(pagina);
      assert.ok(m > stazioni[stazioni.length - 1].posizione * 0.6, "il metro cliccato e' verso la fine: " + m);
    });

    await t.test("puntare e cliccare la pianta mostra il punto nel profilo", async () => {
      // The profile zoomed in at the start of the line; then a station near its end pointed at
      // on the whole plan.
      await pagina.click(`#elenco-stazioni button[data-voce="${stazioni[0].voce}"]`);
      await pagina.$eval("#svg-pianta", (s) => s.dispatchEvent(new MouseEvent("dblclick")));
      const s = stazioni[stazioni.length - 2];
      const cerchio = await pagina.$(`#svg-pianta circle.marcatore-stazione[data-voce="${s.voce}"]`);
      await cerchio.scrollIntoView();
      await pagina.waitForFunction(() => {
        const v = document.getElementById("svg-pianta").getAttribute("viewBox").split(" ").map(Number);
        return v[0] === 0 && v[1] === 0;
      }, { timeout: ATTESA_MS });
      const r = await cerchio.boundingBox();
      await pagina.mouse.move(r.x + r.width / 2, r.y + r.height / 2);
      const m = await metroMostrato(pagina);
      assert.ok(Math.abs(m - s.posizione) < 150, `puntato ${s.nome} (${s.posizione} m), mostrato ${m}`);
      const cursore = await pagina.$eval("#svg-profilo .cursore", (e) => Number(e.getAttribute("x1")));
      const linea = await centroEStazione(pagina, s.voce);
      assert.ok(Math.abs(cursore - linea.stazione) < 2, `cursore ${cursore}, stazione ${linea.stazione}`);
      // A click beside the marker, near the line, brings that part into the profile's view.
      const prima = await vista(pagina, "svg-profilo");
      assert.ok(cursore > prima[0] + prima[2], "il punto e' fuori dal profilo ingrandito");
      await pagina.mouse.click(r.x + r.width / 2 + 9, r.y + r.height / 2);
      await pagina.waitForFunction((c) => {
        const v = document.getElementById("svg-profilo").getAttribute("viewBox").split(" ").map(Number);
        return c >= v[0] && c <= v[0] + v[2];
      }, { timeout: ATTESA_MS }, cursore);
    });

    await pagina.screenshot({ path: path.join(process.env.CARTELLA_FOTO || radice, "pagina_navigazione.png"),
      fullPage: true });
    assert.deepEqual(errori, [], "nessun errore nella pagina");
  } finally {
    await browser.close();
  }

  await t.test("la linea di 1000 km: tasti, pianta ridotta a cio' che si vede", async () => {
    const lunga = process.env.PAGINA_LINEA_LUNGA;
    assert.ok(lunga, "PAGINA_LINEA_LUNGA deve nominare la pagina della linea di 1000 km");
    execFileSync(process.env.ISPEZIONA_SCENARIO_TEST,
      ["--gtest_filter=PaginaNelBrowser.LaLineaPiuLunga"], { stdio: "ignore" });
    assert.ok(fs.existsSync(lunga), "la prova di ispeziona_scenario ha scritto " + lunga);
    const altri = [];
    const b = await puppeteer.launch({
      executablePath: "/usr/bin/chromium",
      args: ["--no-sandbox", "--headless", "--disable-gpu", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        `--user-data-dir=${path.join(radice, "profilo-lunga")}`],
    });
    try {
      const pagina = await apri(b, lunga, altri);
      const punti = await pagina.$eval("#dati", (e) => JSON.parse(e.textContent).pianta_fine.length);
      const tutta = await puntiDisegnati(pagina);
      assert.ok(tutta > 1 && tutta < punti, `la pianta intera disegna ${tutta} dei ${punti} punti`);
      await tastiSuiDisegni(pagina);
      await fuoco(pagina, "svg-pianta");
      for (let i = 0; i < 12; i++) { await premi(pagina, "svg-pianta", "+"); }
      const vicina = await puntiDisegnati(pagina);
      assert.ok(vicina < tutta, `ingrandita, disegna solo cio' che si vede: ${vicina} contro ${tutta}`);
      // From the whole line, Page Down goes to the first station.
      await pagina.$eval("#svg-profilo", (s) => s.dispatchEvent(new MouseEvent("dblclick")));
      await premi(pagina, "svg-profilo", "PageDown");
      const prima = await pagina.$eval("#righe-stazioni tr td", (e) => e.textContent);
      const c = await centroEStazione(pagina, prima);
      assert.ok(Math.abs(c.centro - c.stazione) < 0.01, "prima stazione al centro: " + JSON.stringify(c));
      nessunaSovrapposizione((await nomiVisibili(pagina)).scatole);
      assert.deepEqual(altri, [], "nessun errore nella pagina");
    } finally {
      await b.close();
    }
  });
  fs.rmSync(radice, { recursive: true, force: true });
});
