// Times the watch mode from a save to the page redrawn, as the page itself measures it: the
// sources of a folder are copied, compila_scenario --osserva runs on the copy, its page is
// loaded in headless Chromium, and a speed of the train source is changed and saved as an
// editor saves (a new file renamed over the old) again and again. For each save the page gives,
// from the server seeing the save: the event's arrival, the page redrawn, and the first frame
// painted after it. Prints each save and the median, least and greatest of each.
//
//   node ritardo.mjs COMPILA_SCENARIO CARTELLA_SORGENTI [SALVATAGGI]
//
// The folder holds Tavena_Crostia_linea.txt and Tavena_Crostia_4417-.txt.

import { spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const [programma, cartella, quanti = "20"] = process.argv.slice(2);
if (!programma || !cartella) {
  console.error("uso: node ritardo.mjs COMPILA_SCENARIO CARTELLA_SORGENTI [SALVATAGGI]");
  process.exit(2);
}
const salvataggi = Number(quanti);
const ATTESA_MS = 60000;

const radice = fs.mkdtempSync(path.join(os.tmpdir(), "ritardo-"));
const sorgenti = path.join(radice, "sorgenti");
const uscita = path.join(radice, "uscita");
fs.mkdirSync(sorgenti);
fs.mkdirSync(uscita);
const linea = path.join(sorgenti, "Tavena_Crostia_linea.txt");
const treno = path.join(sorgenti, "Tavena_Crostia_4417-.txt");
fs.copyFileSync(path.join(cartella, path.basename(linea)), linea);
fs.copyFileSync(path.join(cartella, path.basename(treno)), treno);
const originale = fs.readFileSync(treno, "latin1");
const riga = "velocita,     800,    85";
if (!originale.includes(riga)) {
  console.error(`la sorgente del treno non ha la riga "${riga}"`);
  process.exit(1);
}

const server = spawn(programma, [linea, treno, "--cartella", uscita, "--osserva", "--porta", "0"],
  { stdio: ["ignore", "pipe", "inherit"] });
const indirizzo = await new Promise((risolvi, rifiuta) => {
  let testo = "";
  server.stdout.on("data", (d) => {
    testo += d;
    const m = /pagina su (http:\/\/\S+)/.exec(testo);
    if (m) { risolvi(m[1]); }
  });
  server.on("exit", () => rifiuta(new Error("il server e' uscito: " + testo)));
});

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  args: ["--no-sandbox"],
  headless: true,
});
const tempi = [];
try {
  const pagina = await browser.newPage();
  const errori = [];
  pagina.on("pageerror", (e) => errori.push(String(e)));
  await pagina.setViewport({ width: 1400, height: 900 });
  await pagina.goto(indirizzo);
  await pagina.waitForSelector("body[data-stato=pronto]", { timeout: ATTESA_MS });
  for (let i = 0; i < salvataggi; i++) {
    const numero = Number(await pagina.evaluate(() => document.body.getAttribute("data-compilazione")));
    const testo = originale.replace(riga, "velocita,     800,    " + (60 + (i % 20)));
    const provvisorio = path.join(sorgenti, "." + path.basename(treno) + ".salvataggio");
    fs.writeFileSync(provvisorio, testo, "latin1");
    fs.renameSync(provvisorio, treno);
    await pagina.waitForFunction(
      (n) => Number(document.body.getAttribute("data-compilazione-dipinta")) > n,
      { polling: "mutation", timeout: ATTESA_MS }, numero);
    tempi.push(await pagina.evaluate(() => ["data-arrivo-ms", "data-ritardo-ms",
      "data-ritardo-dipinto-ms"].map((a) => Number(document.body.getAttribute(a)))));
    // An author saves at a human pace: the page settles between two saves.
    await new Promise((risolvi) => setTimeout(risolvi, 250));
  }
  if (errori.length) { throw new Error("errori nella pagina: " + errori.join("; ")); }
} finally {
  await browser.close();
  server.kill("SIGINT");
  fs.rmSync(radice, { recursive: true, force: true });
}

const nomi = ["arrivo dell'evento", "pagina ridisegnata", "primo fotogramma dipinto"];
console.log("ms dal salvataggio, per salvataggio: " +
  tempi.map((t) => t.join("/")).join(" "));
nomi.forEach((nome, k) => {
  const v = tempi.map((t) => t[k]).sort((a, b) => a - b);
  console.log(`${nome}: mediana ${v[Math.floor(v.length / 2)]} ms, da ${v[0]} a ${v[v.length - 1]} ms`);
});
