// The client over stand-ins for the editor's module and the protocol client: which program it
// starts, for which languages, and that it stops what it started.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, mkdirSync, writeFileSync, statSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const Module = require('node:module');
const pacchetto = join(dirname(fileURLToPath(import.meta.url)), '..');
const manifesto = JSON.parse(readFileSync(join(pacchetto, 'package.json'), 'utf8'));

// The extension loaded with `impostazione` as the setting; the clients it made.
function carica(impostazione) {
  const clienti = [];
  class LanguageClient {
    constructor(id, nome, server, opzioni) {
      Object.assign(this, { id, nome, server, opzioni, avviato: false, fermato: false });
      clienti.push(this);
    }
    async start() { this.avviato = true; }
    async stop() { this.fermato = true; }
  }
  const finti = {
    vscode: {
      workspace: {
        getConfiguration: (sezione) => ({
          get: (chiave, predefinito) =>
            sezione === 'lingua_scenario' && chiave === 'percorso' ? impostazione : predefinito,
        }),
      },
    },
    'vscode-languageclient/node': { LanguageClient, TransportKind: { stdio: 0 } },
  };
  const originale = Module._load;
  Module._load = function (richiesta, ...resto) {
    return richiesta in finti ? finti[richiesta] : originale.call(this, richiesta, ...resto);
  };
  try {
    const percorso = require.resolve(join(pacchetto, 'extension.js'));
    delete require.cache[percorso];
    return { estensione: require(percorso), clienti };
  } finally {
    Module._load = originale;
  }
}

test('the bundled program is chosen by the system', () => {
  const { estensione } = carica('');
  assert.equal(estensione.programmaNelPacchetto('/e', 'linux'),
    join('/e', 'server', 'lingua_scenario'));
  assert.equal(estensione.programmaNelPacchetto('/e', 'win32'),
    join('/e', 'server', 'lingua_scenario.exe'));
});

test('without a setting it starts the bundled program, made executable, for both languages',
  { skip: process.platform === 'win32' }, async () => {
    const cartella = mkdtempSync(join(tmpdir(), 'estensione-'));
    mkdirSync(join(cartella, 'server'));
    const programma = join(cartella, 'server', 'lingua_scenario');
    writeFileSync(programma, '', { mode: 0o644 });
    const { estensione, clienti } = carica('');
    await estensione.activate({ extensionPath: cartella });
    assert.equal(clienti.length, 1);
    const [c] = clienti;
    assert.ok(c.avviato);
    assert.equal(c.server.run.command, programma);
    assert.equal(statSync(programma).mode & 0o111, 0o111);
    assert.deepEqual(c.opzioni.documentSelector.map((d) => d.language),
      manifesto.contributes.languages.map((l) => l.id));
    await estensione.deactivate();
    assert.ok(c.fermato);
    rmSync(cartella, { recursive: true });
  });

test('the setting names the program to start', async () => {
  const { estensione, clienti } = carica('/opt/lingua_scenario');
  await estensione.activate({ extensionPath: '/non/esiste' });
  assert.equal(clienti[0].server.run.command, '/opt/lingua_scenario');
  assert.equal(clienti[0].server.debug.command, '/opt/lingua_scenario');
});
