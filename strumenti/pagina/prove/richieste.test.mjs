// The inspector's page served over HTTP, as a browser loads any page, opened in headless
// Chromium: the browser asks for the page and nothing else (no icon, no file of its own), and
// no script error is raised.
//
// COMPILA_SCENARIO and ISPEZIONA_SCENARIO name the programs.

import { test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

test("la pagina servita non chiede altro che se stessa", async () => {
  const compila = process.env.COMPILA_SCENARIO, ispeziona = process.env.ISPEZIONA_SCENARIO;
  assert.ok(compila && ispeziona, "COMPILA_SCENARIO e ISPEZIONA_SCENARIO devono nominare i programmi");
  const radice = fs.mkdtempSync(path.join(os.tmpdir(), "richieste-"));
  const sorgenti = path.join(radice, "sorgenti"), uscita = path.join(radice, "uscita");
  fs.mkdirSync(sorgenti);
  fs.mkdirSync(uscita);
  execFileSync(compila, ["--esempio", sorgenti]);
  execFileSync(compila, [path.join(sorgenti, "Tavena_Crostia_linea.txt"),
    path.join(sorgenti, "Tavena_Crostia_4417-.txt"), "--cartella", uscita]);
  const html = path.join(radice, "linea.html");
  execFileSync(ispeziona, [uscita, "--html", html]);
  const pagina_html = fs.readFileSync(html);

  const chieste = [];
  const server = http.createServer((req, res) => {
    chieste.push(req.url);
    if (req.url === "/") {
      res.writeHead(200, { "Content-Type": "text/html; charset=utf-8" });
      res.end(pagina_html);
    } else {
      res.writeHead(404);
      res.end();
    }
  });
  await new Promise((risolvi) => server.listen(0, "127.0.0.1", risolvi));
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--headless", "--disable-gpu", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      `--user-data-dir=${path.join(radice, "profilo")}`],
  });
  try {
    const errori = [];
    const p = await browser.newPage();
    p.on("pageerror", (e) => errori.push("pageerror: " + e.message));
    p.on("console", (m) => { if (m.type() === "error") { errori.push("console: " + m.text()); } });
    await p.goto(`http://127.0.0.1:${server.address().port}/`, { waitUntil: "networkidle0" });
    await p.waitForSelector("body[data-stato=pronto]", { timeout: 20000 });
    // A browser asks for the icon after the page has loaded; give it the time to.
    await new Promise((risolvi) => setTimeout(risolvi, 1000));
    assert.deepEqual(chieste, ["/"], "richieste al server");
    assert.deepEqual(errori, [], "nessun errore nella pagina");
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(radice, { recursive: true, force: true });
  }
});
