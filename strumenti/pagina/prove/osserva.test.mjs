// compila_scenario --osserva run as an author runs it: the example written, the server started on
// a free port, its live page loaded in headless Chromium and the sources saved as an editor saves
// them (a new file renamed over the old). The page must redraw with each compile, list the
// changes and the problems, zoom with the wheel and the keys, keep its zoom across redraws and
// raise no script error; the HTTP server must
// refuse foreign Host headers, serve no files and feed many event streams at once.
//
// COMPILA_SCENARIO names the program; CARTELLA_FOTO, if set, the folder for the screenshot.

import { test } from "node:test";
import assert from "node:assert/strict";
import { spawn, execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const programma = process.env.COMPILA_SCENARIO;
const cartellaFoto = process.env.CARTELLA_FOTO || os.tmpdir();
const ATTESA_MS = 20000;

// Writes the text to a new file in the same folder, then renames it over the old one.
function salvaComeEditor(file, testo) {
  const provvisorio = path.join(path.dirname(file), "." + path.basename(file) + ".salvataggio");
  fs.writeFileSync(provvisorio, testo);
  fs.renameSync(provvisorio, file);
}

// The line (1-based) whose text starts with the given prefix.
function rigaCheIniziaCon(testo, inizio) {
  const righe = testo.split("\n");
  const i = righe.findIndex((r) => r.startsWith(inizio));
  assert.notEqual(i, -1, `nessuna riga inizia con ${inizio}`);
  return { indice: i, numero: i + 1, righe };
}

// Starts the server and resolves with its address once it has printed it.
function avviaServer(argomenti) {
  const figlio = spawn(programma, argomenti, { stdio: ["ignore", "pipe", "pipe"] });
  let uscita = "";
  let errori = "";
  figlio.stderr.on("data", (d) => { errori += d; });
  const fine = new Promise((risolvi) => figlio.on("exit", (codice, segnale) => risolvi({ codice, segnale })));
  const indirizzo = new Promise((risolvi, rifiuta) => {
    const limite = setTimeout(() => rifiuta(new Error("nessun indirizzo stampato: " + uscita + errori)), ATTESA_MS);
    figlio.stdout.on("data", (d) => {
      uscita += d;
      const m = /pagina su (http:\/\/127\.0\.0\.1:(\d+)\/)/.exec(uscita);
      if (m) { clearTimeout(limite); risolvi({ url: m[1], porta: Number(m[2]) }); }
    });
    figlio.on("exit", () => rifiuta(new Error("uscito prima di servire: " + uscita + errori)));
  });
  return { figlio, indirizzo, fine, uscita: () => uscita, errori: () => errori };
}

// A plain GET; resolves with the status and the body.
function richiesta(porta, percorso, host) {
  return new Promise((risolvi, rifiuta) => {
    const r = http.get({ host: "127.0.0.1", port: porta, path: percorso,
      headers: host ? { Host: host } : {} }, (res) => {
      let corpo = "";
      res.on("data", (d) => { corpo += d; });
      res.on("end", () => risolvi({ stato: res.statusCode, corpo }));
    });
    r.on("error", rifiuta);
    r.setTimeout(ATTESA_MS, () => r.destroy(new Error("nessuna risposta a " + percorso)));
  });
}

// An event stream: every `data:` message parsed as it arrives.
function apriFlusso(porta) {
  const messaggi = [];
  let attesa = null;
  let resto = "";
  const pronto = new Promise((risolvi, rifiuta) => {
    const r = http.get({ host: "127.0.0.1", port: porta, path: "/eventi" }, (res) => {
      if (res.statusCode !== 200) { rifiuta(new Error("stato " + res.statusCode)); return; }
      res.setEncoding("utf8");
      res.on("data", (d) => {
        resto += d;
        let fine;
        while ((fine = resto.indexOf("\n\n")) !== -1) {
          const blocco = resto.slice(0, fine);
          resto = resto.slice(fine + 2);
          const dati = blocco.split("\n").filter((l) => l.startsWith("data:"))
            .map((l) => l.slice(5).trimStart()).join("\n");
          if (dati) { messaggi.push(JSON.parse(dati)); if (attesa) { attesa(); } }
        }
      });
      risolvi(r);
    });
    r.on("error", rifiuta);
  });
  // Resolves with the first message whose compile number is above n.
  async function dopo(n, ms) {
    const limite = Date.now() + ms;
    for (;;) {
      const m = messaggi.find((x) => x.numero > n);
      if (m) { return m; }
      if (Date.now() > limite) { throw new Error(`nessun evento dopo la compilazione ${n}`); }
      await new Promise((risolvi) => { attesa = risolvi; setTimeout(risolvi, 200); });
    }
  }
  return { pronto, messaggi, dopo };
}

test("compila_scenario --osserva: la pagina dal vivo in Chromium e il server HTTP", async (t) => {
  assert.ok(programma && fs.existsSync(programma), "COMPILA_SCENARIO deve nominare il programma");
  const radice = fs.mkdtempSync(path.join(os.tmpdir(), "osserva-"));
  const sorgenti = path.join(radice, "sorgenti");
  const uscitaDir = path.join(radice, "uscita");
  fs.mkdirSync(sorgenti);
  fs.mkdirSync(uscitaDir);
  execFileSync(programma, ["--esempio", sorgenti]);
  const linea = path.join(sorgenti, "Tavena_Crostia_linea.txt");
  const treno = path.join(sorgenti, "Tavena_Crostia_4417-.txt");
  const trenoOriginale = fs.readFileSync(treno, "utf8");

  const server = avviaServer([linea, treno, "--cartella", uscitaDir, "--osserva", "--porta", "0"]);
  const { url, porta } = await server.indirizzo;

  const errori = [];
  const ritardi = [];
  const profilo = fs.mkdtempSync(path.join(os.tmpdir(), "osserva-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--headless", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      `--user-data-dir=${profilo}`],
  });
  try {
    const pagina = await browser.newPage();
    pagina.on("pageerror", (e) => errori.push("pageerror: " + e.message));
    // The browser asks for /favicon.ico by itself and the server rightly answers 404: that one
    // request is no fault of the page; every other console error is.
    pagina.on("console", (m) => {
      if (m.type() !== "error") { return; }
      if (m.location().url === url + "favicon.ico") { return; }
      errori.push("console: " + m.text() + " " + (m.location().url || ""));
    });
    await pagina.setViewport({ width: 1280, height: 900 });
    await pagina.goto(url, { waitUntil: "load" });
    await pagina.waitForSelector("body[data-stato=pronto]", { timeout: ATTESA_MS });

    const numeroPagina = () => pagina.$eval("body", (b) => Number(b.getAttribute("data-compilazione")));
    // Waits for the page to show a compile after n, and takes its delay.
    async function aspettaCompilazione(n) {
      await pagina.waitForFunction((m) => Number(document.body.getAttribute("data-compilazione")) > m,
        { timeout: ATTESA_MS }, n);
      const shown = await pagina.$eval("#numero-compilazione", (e) => Number(e.textContent));
      assert.equal(shown, await numeroPagina(), "il numero mostrato e' quello di data-compilazione");
      ritardi.push(await pagina.$eval("body", (b) => Number(b.getAttribute("data-ritardo-ms"))));
      return shown;
    }
    // Where MORSELLO stands in both drawings.
    const morsello = () => pagina.evaluate(() => {
      const cerchio = [...document.querySelectorAll("#svg-pianta circle.marcatore-stazione")]
        .find((c) => c.textContent.startsWith("MORSELLO"));
      const nome = [...document.querySelectorAll("#svg-profilo text")]
        .find((e) => e.textContent === "MORSELLO");
      return {
        titolo: cerchio ? cerchio.textContent : null,
        pianta: cerchio ? [Number(cerchio.getAttribute("cx")), Number(cerchio.getAttribute("cy"))] : null,
        profilo: nome ? Number(/translate\(([-\d.e]+)/.exec(nome.getAttribute("transform"))[1]) : null,
      };
    });

    const primo = await numeroPagina();
    assert.ok(primo >= 1, "la pagina mostra la prima compilazione");
    const prima = await morsello();
    assert.equal(prima.titolo, "MORSELLO (10900 m)");
    assert.ok(prima.pianta && prima.profilo !== null, "MORSELLO e' disegnata in pianta e profilo");

    let numero = primo;
    await t.test("una stazione spostata: pianta, profilo e cambiamenti ridisegnati", async () => {
      const { indice, righe } = rigaCheIniziaCon(trenoOriginale, "stazione,   10900,");
      righe[indice] = righe[indice].replace("10900", "12400");
      salvaComeEditor(treno, righe.join("\n"));
      numero = await aspettaCompilazione(numero);
      const dopo = await morsello();
      assert.equal(dopo.titolo, "MORSELLO (12400 m)");
      assert.notDeepEqual(dopo.pianta, prima.pianta, "il cerchio in pianta si e' spostato");
      assert.ok(dopo.profilo > prima.profilo, "il nome nel profilo e' andato avanti");
      const cambiamenti = await pagina.$$eval("#cambiamenti li", (l) => l.map((e) => e.textContent));
      assert.ok(cambiamenti.some((c) => c.includes("MORSELLO")), "i cambiamenti nominano MORSELLO: " +
        JSON.stringify(cambiamenti));
      const stato = await pagina.$eval("#stato-compilazione", (e) => e.className);
      assert.equal(stato, "riuscita");
    });

    await t.test("una velocita' cambiata: il profilo la mostra", async () => {
      const testo = fs.readFileSync(treno, "utf8");
      const { indice, righe } = rigaCheIniziaCon(testo, "velocita,    5950,   120");
      righe[indice] = "velocita,    5950,   115";
      const limite = () => pagina.$eval("#svg-profilo path.limite", (e) => e.getAttribute("d"));
      const limitePrima = await limite();
      salvaComeEditor(treno, righe.join("\n"));
      numero = await aspettaCompilazione(numero);
      assert.notEqual(await limite(), limitePrima, "il limite nel profilo e' ridisegnato");
      const cambiamenti = await pagina.$$eval("#cambiamenti li", (l) => l.map((e) => e.textContent));
      assert.ok(cambiamenti.length > 0 && !cambiamenti.some((c) => c.includes("MORSELLO")),
        "i cambiamenti sono quelli di questa compilazione: " + JSON.stringify(cambiamenti));
      const voce = cambiamenti.findIndex((c) => c.startsWith("5950"));
      assert.ok(voce !== -1, "i cambiamenti nominano il tratto da 5950 m: " + JSON.stringify(cambiamenti));
      assert.ok(await pagina.$("#svg-profilo .cambiato"), "il tratto cambiato e' segnato nel profilo");
      // The change clicked shows what stands there now.
      await pagina.$$eval("#cambiamenti li", (l, i) => l[i].click(), voce);
      const dettagli = await pagina.$eval("#dettagli", (e) => e.textContent);
      assert.match(dettagli, /velocit\u00e0 massima115 km\/h/, dettagli);
    });

    await t.test("un campo guasto: l'errore con riga e accento", async () => {
      const testo = fs.readFileSync(treno, "utf8");
      const { indice, numero: riga, righe } = rigaCheIniziaCon(testo, "stazione,   14350,");
      righe[indice] = righe[indice].replace("14350, 28,", "14350, 12a,");
      const colonna = righe[indice].indexOf("12a") + 1;
      salvaComeEditor(treno, righe.join("\n"));
      numero = await aspettaCompilazione(numero);
      const stato = await pagina.$eval("#stato-compilazione", (e) => e.className);
      assert.equal(stato, "con-errore");
      const problemi = await pagina.$$eval("#problemi li.errore", (l) => l.map((li) => ({
        messaggio: li.querySelector(".messaggio").textContent,
        sorgente: li.querySelector("pre.sorgente") ? li.querySelector("pre.sorgente").textContent : null,
      })));
      const nostro = problemi.find((p) => p.messaggio.includes(`Tavena_Crostia_4417-.txt:${riga}:`));
      assert.ok(nostro, `un errore alla riga ${riga}: ` + JSON.stringify(problemi));
      const [sorgente, accento] = nostro.sorgente.split("\n");
      assert.equal(sorgente, righe[indice].replace(/\r$/, ""), "la riga guasta e' mostrata com'e'");
      assert.equal(accento, " ".repeat(colonna - 1) + "^", "l'accento sta sotto 12a");
      assert.ok(nostro.messaggio.includes(`:${riga}:${colonna}:`), nostro.messaggio);
      // The terminal's line of this compile names the error's place, printed after the event.
      const attesa = `compilazione ${numero}: ${treno}:${riga}:${colonna}: errore `;
      const limite = Date.now() + ATTESA_MS;
      while (!server.uscita().split("\n").some((l) => l.startsWith(attesa)) && Date.now() < limite) {
        await new Promise((risolvi) => setTimeout(risolvi, 50));
      }
      assert.ok(server.uscita().split("\n").some((l) => l.startsWith(attesa)), server.uscita());
    });

    await t.test("la rotella ingrandisce la pianta", async () => {
      const svg = await pagina.$("#svg-pianta");
      await svg.scrollIntoView();
      const prima = await pagina.$eval("#svg-pianta", (s) => s.getAttribute("viewBox"));
      const r = await svg.boundingBox();
      await pagina.mouse.move(r.x + r.width / 2, r.y + r.height / 2);
      await pagina.mouse.wheel({ deltaY: -300 });
      await pagina.waitForFunction((v) => document.getElementById("svg-pianta").getAttribute("viewBox") !== v,
        { timeout: ATTESA_MS }, prima);
      const dopo = (await pagina.$eval("#svg-pianta", (s) => s.getAttribute("viewBox"))).split(" ").map(Number);
      const base = prima.split(" ").map(Number);
      assert.ok(dopo[2] < base[2] && dopo[3] < base[3], `vista ridotta: ${prima} -> ${dopo.join(" ")}`);
      await pagina.screenshot({ path: path.join(cartellaFoto, "pagina_osserva.png"), fullPage: true });
    });

    await t.test("la vista scelta con i tasti resta dopo un salvataggio", async () => {
      const vista = (id) => pagina.$eval("#" + id, (s) => s.getAttribute("viewBox"));
      const tasto = async (id, k) => {
        const prima = await pagina.$eval("#" + id, (s) => s.getAttribute("data-vista"));
        await pagina.keyboard.press(k);
        await pagina.waitForFunction((i, p) => document.getElementById(i).getAttribute("data-vista") !== p,
          { timeout: ATTESA_MS }, id, prima);
      };
      await pagina.$eval("#svg-profilo", (s) => s.focus());
      await tasto("svg-profilo", "+");
      await tasto("svg-profilo", "ArrowRight");
      await pagina.$eval("#svg-pianta", (s) => s.focus());
      await tasto("svg-pianta", "+");
      await tasto("svg-pianta", "ArrowUp");
      const profilo = await vista("svg-profilo");
      const pianta = await vista("svg-pianta");
      const testo = fs.readFileSync(treno, "utf8");
      const nuovo = testo.replace(/^velocita,    5950,   \d+/m, "velocita,    5950,   105");
      assert.notEqual(nuovo, testo);
      salvaComeEditor(treno, nuovo);
      numero = await aspettaCompilazione(numero);
      assert.equal(await vista("svg-profilo"), profilo, "il profilo mostra lo stesso tratto");
      assert.equal(await vista("svg-pianta"), pianta, "la pianta mostra la stessa parte");
      // The keys still act on the drawings made anew.
      await pagina.$eval("#svg-profilo", (s) => s.focus());
      await tasto("svg-profilo", "-");
      assert.notEqual(await vista("svg-profilo"), profilo);
      // The plan, which that save left as it was, still answers the pointer: the profile drawn
      // anew moves its cursor to the station pointed at.
      await pagina.$eval("#svg-pianta", (s) => s.dispatchEvent(new MouseEvent("dblclick")));
      await pagina.$eval("#svg-profilo", (s) => s.dispatchEvent(new MouseEvent("dblclick")));
      const cursore = () => pagina.$eval("#svg-profilo .cursore", (c) => Number(c.getAttribute("x1")));
      const xMorsello = await pagina.evaluate(() => {
        const nome = [...document.querySelectorAll("#svg-profilo text.nome-profilo")]
          .find((e) => e.textContent === "MORSELLO");
        const voce = nome.getAttribute("data-voce");
        return Number(document.querySelector(`#svg-profilo line.stazione-profilo[data-voce="${voce}"]`)
          .getAttribute("x1"));
      });
      const primaDelPuntatore = await cursore();
      assert.ok(Math.abs(primaDelPuntatore - xMorsello) > 2, "il cursore non sta gia' su MORSELLO");
      const cerchio = await pagina.evaluateHandle(() => [...document.querySelectorAll(
        "#svg-pianta circle.marcatore-stazione")].find((c) => c.textContent.startsWith("MORSELLO")));
      await cerchio.scrollIntoView();
      const r = await cerchio.boundingBox();
      await pagina.mouse.move(r.x + r.width / 2, r.y + r.height / 2);
      await pagina.waitForFunction((x) => Math.abs(Number(document.querySelector(
        "#svg-profilo .cursore").getAttribute("x1")) - x) < 2, { timeout: ATTESA_MS }, xMorsello);
    });

    await t.test("il server: Host estraneo rifiutato, nessun file servito", async () => {
      const estraneo = await richiesta(porta, "/", `altro.example:${porta}`);
      assert.ok(estraneo.stato >= 400 && estraneo.stato < 500, "Host estraneo: " + estraneo.stato);
      const porta_sbagliata = await richiesta(porta, "/", `127.0.0.1:${porta + 1}`);
      assert.ok(porta_sbagliata.stato >= 400 && porta_sbagliata.stato < 500,
        "porta sbagliata nell'Host: " + porta_sbagliata.stato);
      const giusto = await richiesta(porta, "/", `127.0.0.1:${porta}`);
      assert.equal(giusto.stato, 200);
      for (const p of ["/etc/passwd", "/Tavena_Crostia_linea.txt", "/Tavena_Crostia_4417-.txt",
        "/../sorgenti/Tavena_Crostia_linea.txt", "/Tavena_Crostia_linea.dat"]) {
        const r = await richiesta(porta, p);
        assert.equal(r.stato, 404, p);
      }
    });

    await t.test("venti flussi aperti insieme ricevono la compilazione seguente", async () => {
      const flussi = Array.from({ length: 20 }, () => apriFlusso(porta));
      const connessioni = await Promise.all(flussi.map((f) => f.pronto));
      try {
        // Each stream first gets the compile there is now.
        await Promise.all(flussi.map((f) => f.dopo(numero - 1, ATTESA_MS)));
        salvaComeEditor(treno, trenoOriginale);
        const ricevuti = await Promise.all(flussi.map((f) => f.dopo(numero, ATTESA_MS)));
        const nuovo = ricevuti[0].numero;
        for (const m of ricevuti) { assert.equal(m.numero, nuovo); assert.equal(m.errore, false); }
        numero = await aspettaCompilazione(numero);
        assert.equal(numero, nuovo, "la pagina mostra la stessa compilazione dei flussi");
      } finally {
        connessioni.forEach((r) => r.destroy());
      }
    });

    await t.test("alcuni altri salvataggi, per il ritardo", async () => {
      for (let i = 0; i < 5; i++) {
        const testo = fs.readFileSync(treno, "utf8");
        const nuovo = testo.replace(/^velocita,    5950,   \d+/m, `velocita,    5950,   ${100 - 5 * i}`);
        assert.notEqual(nuovo, testo);
        salvaComeEditor(treno, nuovo);
        numero = await aspettaCompilazione(numero);
        const cambiamenti = await pagina.$$eval("#cambiamenti li", (l) => l.map((e) => e.textContent));
        assert.ok(cambiamenti.some((c) => c.startsWith("5950") && c.includes(String(100 - 5 * i))),
          JSON.stringify(cambiamenti));
      }
      // The top of the page as an author first sees it, small enough for the README.
      await pagina.setViewport({ width: 1000, height: 760 });
      await pagina.evaluate(() => window.scrollTo(0, 0));
      await pagina.screenshot({ path: path.join(cartellaFoto, "pagina_osserva_finestra.png") });
    });

    assert.deepEqual(errori, [], "nessun errore nella pagina");
    console.log("ritardo dal salvataggio visto alla pagina ridisegnata, ms: " + ritardi.join(", "));
  } finally {
    await browser.close();
    fs.rmSync(profilo, { recursive: true, force: true });
    if (server.figlio.exitCode === null) { server.figlio.kill("SIGINT"); }
  }

  const { codice, segnale } = await server.fine;
  assert.equal(segnale, null, "uscito da se', non ucciso: " + server.errori());
  assert.equal(codice, 0, "Ctrl+C: stato 0");
  fs.rmSync(radice, { recursive: true, force: true });
});
