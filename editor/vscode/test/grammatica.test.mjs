// The grammar over both example sources and a few rows of their corners: every section header,
// every keyword, every number and every text gets its scope, on each of its characters.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, readdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const vsctm = require('vscode-textmate');
const oniguruma = require('vscode-oniguruma');

const pacchetto = join(dirname(fileURLToPath(import.meta.url)), '..');
const manifesto = JSON.parse(readFileSync(join(pacchetto, 'package.json'), 'utf8'));

const SEZIONE = 'entity.name.section.sorgente-scenario';
const PAROLA = 'keyword.other.sorgente-scenario';
const NUMERO = 'constant.numeric.sorgente-scenario';
const TESTO = 'string.unquoted.sorgente-scenario';
const COMMENTO = 'comment.line.sorgente-scenario';

async function grammatica() {
  const wasm = readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm'));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  const percorsi = Object.fromEntries(
    manifesto.contributes.grammars.map((g) => [g.scopeName, join(pacchetto, g.path)]));
  const registro = new vsctm.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (s) => new oniguruma.OnigScanner(s),
      createOnigString: (s) => new oniguruma.OnigString(s),
    }),
    loadGrammar: async (nome) => percorsi[nome] === undefined ? null
      : vsctm.parseRawGrammar(readFileSync(percorsi[nome], 'utf8'), percorsi[nome]),
  });
  return registro.loadGrammar('source.sorgente-scenario');
}

// The scopes of every character of each line.
function scopi(g, righe) {
  let stato = vsctm.INITIAL;
  return righe.map((riga) => {
    const r = g.tokenizeLine(riga, stato);
    stato = r.ruleStack;
    const perCarattere = [];
    for (const t of r.tokens) {
      for (let i = t.startIndex; i < Math.min(t.endIndex, riga.length); ++i) {
        perCarattere[i] = t.scopes;
      }
    }
    return perCarattere;
  });
}

// What a row holds, found from its text alone: [scope, start, end] of each part that must have
// a scope. Up to two leading fields with a '-' are comments; the next field is the keyword; a
// value of digits, signs and spaces holds numbers, any other value is a text.
function attesi(riga) {
  const sezione = /^\s*\[([^\]]*)\]/.exec(riga);
  if (sezione) {
    const inizio = riga.indexOf('[') + 1;
    return [[SEZIONE, inizio, inizio + sezione[1].length]];
  }
  const parti = [];
  let inizio = 0;
  let campo = 0;
  let commenti = 0;
  for (const testo of riga.split(',')) {
    const a = inizio + testo.length - testo.trimStart().length;
    const b = inizio + testo.trimEnd().length;
    if (campo === 0 && commenti < 2 && testo.includes('-')) {
      parti.push([COMMENTO, a, b]);
      ++commenti;
    } else if (campo === 0) {
      if (b > a) parti.push([PAROLA, a, b]);
      campo = 1;
    } else if (/^[\d\s+-]*$/.test(testo)) {
      for (const n of testo.matchAll(/[+-]?\d+/g)) {
        parti.push([NUMERO, inizio + n.index, inizio + n.index + n[0].length]);
      }
    } else if (b > a) {
      parti.push([TESTO, a, b]);
    }
    inizio += testo.length + 1;
  }
  return parti;
}

// Checks every part of every row; the count of each scope checked.
function controlla(g, righe, dove) {
  const conti = {};
  const s = scopi(g, righe);
  righe.forEach((riga, r) => {
    for (const [scopo, a, b] of attesi(riga)) {
      for (let i = a; i < b; ++i) {
        assert.ok(s[r][i]?.includes(scopo),
          `${dove}:${r + 1}:${i + 1}: '${riga.slice(a, b)}' senza ${scopo} in '${riga}' ` +
          `(ha ${JSON.stringify(s[r][i])})`);
      }
      conti[scopo] = (conti[scopo] ?? 0) + 1;
    }
  });
  return conti;
}

test('the manifest names both sources, their encoding, grammar and server setting', () => {
  const lingue = manifesto.contributes.languages;
  assert.deepEqual(lingue.map((l) => l.filenamePatterns), [['*_linea.txt'], ['*-.txt']]);
  for (const l of lingue) {
    assert.equal(manifesto.contributes.configurationDefaults[`[${l.id}]`]['files.encoding'],
      'windows1252');
    assert.ok(manifesto.contributes.grammars.some((g) => g.language === l.id), l.id);
  }
  assert.ok(manifesto.contributes.configuration.properties['lingua_scenario.percorso']);
  const cmake = readFileSync(join(pacchetto, '..', '..', 'CMakeLists.txt'), 'utf8');
  assert.equal(manifesto.version, /project\(\S+\s+VERSION\s+(\S+)/.exec(cmake)?.[1]);
});

test('every header, keyword, number and text of the example sources has its scope', async (t) => {
  const cartella = process.env.ESEMPIO;
  assert.ok(cartella, 'ESEMPIO names the folder of the example sources');
  const g = await grammatica();
  const nomi = readdirSync(cartella).filter((n) => n.endsWith('.txt'));
  assert.equal(nomi.length, 2, nomi.join(' '));
  for (const nome of nomi) {
    const testo = new TextDecoder('windows-1252').decode(readFileSync(join(cartella, nome)));
    const righe = testo.split(/\r\n|\r|\n/);
    const conti = controlla(g, righe, nome);
    // The checks ran over the whole file, not over a part the grammar happened to reach.
    const sezioni = righe.filter((r) => r.startsWith('[')).length;
    assert.equal(conti[SEZIONE], sezioni, nome);
    assert.ok(conti[PAROLA] > 50 && conti[NUMERO] > 100, `${nome}: ${JSON.stringify(conti)}`);
    t.diagnostic(`${nome}: ${JSON.stringify(conti)}`);
  }
});

test('rows of the corners', async () => {
  const g = await grammatica();
  const casi = [
    // [row, [text, scope] that the row must show]
    ['[vel_limite]', [['vel_limite', SEZIONE]]],
    ['  [fine]  ', [['fine', SEZIONE]]],
    ['- Altitudine iniziale = 36 m.', [['- Altitudine iniziale = 36 m.', COMMENTO]]],
    ['nota - a, velocita, 0, 30', [['nota - a', COMMENTO], ['velocita', PAROLA], ['30', NUMERO]]],
    ['a-1, b-2, pendenza, 850', [['a-1', COMMENTO], ['b-2', COMMENTO], ['pendenza', PAROLA]]],
    ['pendenza, 850, -4', [['pendenza', PAROLA], ['-4', NUMERO]]],
    ['orologio,  6   30   0', [['orologio', PAROLA], ['6', NUMERO], ['30', NUMERO]]],
    ['cartello_indicatore, 4550, (SAN ROCCO)( 170 m. )',
      [['cartello_indicatore', PAROLA], ['4550', NUMERO], ['(SAN ROCCO)( 170 m. )', TESTO]]],
    ['velocità, 12a', [['velocità', PAROLA], ['12a', TESTO]]],
    ['stazione, 0, 2, 700, TAVENA', [['stazione', PAROLA], ['700', NUMERO], ['TAVENA', TESTO]]],
  ];
  for (const [riga, parti] of casi) {
    const s = scopi(g, [riga])[0];
    for (const [testo, scopo] of parti) {
      const a = riga.lastIndexOf(testo);
      for (let i = a; i < a + testo.length; ++i) {
        assert.ok(s[i]?.includes(scopo), `'${testo}' in '${riga}': ${JSON.stringify(s[i])}`);
      }
    }
    controlla(g, [riga], riga);
  }
  // A number inside a text is not a number, nor is a keyword's digit.
  const s = scopi(g, ['cartello_indicatore, 4550, (SAN ROCCO)( 170 m. )', 'curvas5, 700, 700']);
  assert.ok(!s[0]['cartello_indicatore, 4550, (SAN ROCCO)( '.length].includes(NUMERO));
  assert.ok(!s[1]['curvas'.length].includes(NUMERO));
});
