// Starts lingua_scenario for the line and train sources: the program named in the setting
// lingua_scenario.percorso, or the one built for this system inside the package.
'use strict';

const fs = require('fs');
const path = require('path');
const vscode = require('vscode');
const { LanguageClient, TransportKind } = require('vscode-languageclient/node');

let client;

// The bundled program for a platform, inside the package's folder.
function programmaNelPacchetto(cartella, piattaforma) {
  const nome = piattaforma === 'win32' ? 'lingua_scenario.exe' : 'lingua_scenario';
  return path.join(cartella, 'server', nome);
}

function programma(contesto) {
  const scelto = vscode.workspace.getConfiguration('lingua_scenario').get('percorso', '');
  if (scelto !== '') {
    return scelto;
  }
  const nel = programmaNelPacchetto(contesto.extensionPath, process.platform);
  if (process.platform !== 'win32') {
    // An unpacked package may have lost the program's execute bit.
    fs.chmodSync(nel, 0o755);
  }
  return nel;
}

async function activate(contesto) {
  const eseguibile = { command: programma(contesto), transport: TransportKind.stdio };
  client = new LanguageClient(
    'lingua_scenario',
    'Sorgenti di scenario',
    { run: eseguibile, debug: eseguibile },
    {
      documentSelector: [
        { scheme: 'file', language: 'sorgente-linea' },
        { scheme: 'file', language: 'sorgente-treno' },
      ],
    },
  );
  await client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate, programmaNelPacchetto };
