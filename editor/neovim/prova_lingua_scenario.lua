-- Drives the language server through headless Neovim over the built-in example's sources.
-- Run as: CARTELLA=<folder with the example> SERVER=<lingua_scenario> CAPACITA=<piene|ridotte>
-- nvim --headless -u NONE -c "luafile ...". With CAPACITA=piene the client declares snippets
-- and inlay hints besides Neovim's own capabilities, and the quick fixes are applied; with
-- CAPACITA=ridotte it declares plain text only, no related information and a flat outline.
-- Ends Neovim with status 0 when every check holds, 1 at the first that does not.
local cartella = assert(os.getenv('CARTELLA'), 'CARTELLA non data')
local server = assert(os.getenv('SERVER'), 'SERVER non dato')
local piene = os.getenv('CAPACITA') ~= 'ridotte'
local ATTESA = 10000

local function fallisci(messaggio)
  io.stderr:write('prova_lingua_scenario: ' .. messaggio .. '\n')
  vim.cmd('cquit! 1')
end

local capacita = vim.lsp.protocol.make_client_capabilities()
if piene then
  capacita.textDocument.completion.completionItem.snippetSupport = true
  capacita.textDocument.inlayHint = { dynamicRegistration = false }
else
  capacita.textDocument.completion.completionItem.snippetSupport = false
  capacita.textDocument.hover.contentFormat = { 'plaintext' }
  capacita.textDocument.signatureHelp.signatureInformation.documentationFormat = { 'plaintext' }
  capacita.textDocument.publishDiagnostics.relatedInformation = false
  capacita.textDocument.documentSymbol.hierarchicalDocumentSymbolSupport = false
end

local pubblicazioni = 0
local cliente = vim.lsp.start_client({
  name = 'lingua_scenario',
  cmd = { server },
  capabilities = capacita,
  root_dir = cartella,
  flags = { debounce_text_changes = 0 },
  handlers = {
    ['textDocument/publishDiagnostics'] = function(err, risultato, ctx, config)
      pubblicazioni = pubblicazioni + 1
      vim.lsp.diagnostic.on_publish_diagnostics(err, risultato, ctx, config)
    end,
  },
})
if not cliente then
  fallisci('il server non parte')
end

local function apri(nome)
  vim.cmd('edit ++enc=cp1252 ' .. vim.fn.fnameescape(cartella .. '/' .. nome))
  local buf = vim.api.nvim_get_current_buf()
  local prima = pubblicazioni
  vim.lsp.buf_attach_client(buf, cliente)
  return buf, prima
end

local function attendi_pubblicazione(dopo)
  if not vim.wait(ATTESA, function() return pubblicazioni > dopo end, 10) then
    fallisci('nessuna diagnostica pubblicata')
  end
end

local function riga_che_inizia(buf, inizio)
  for i, testo in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
    if vim.startswith(testo, inizio) then
      return i - 1, testo
    end
  end
  fallisci('nessuna riga comincia con ' .. inizio)
end

local function richiedi(buf, metodo, riga, colonna)
  vim.api.nvim_win_set_cursor(0, { riga + 1, colonna })
  local parametri = vim.lsp.util.make_position_params()
  local risposte = vim.lsp.buf_request_sync(buf, metodo, parametri, ATTESA)
  local r = risposte and risposte[cliente]
  if not r or r.err or not r.result then
    fallisci(metodo .. ': nessuna risposta')
  end
  return r.result
end

local function codice_di(d)
  return d.code or (d.user_data and d.user_data.lsp and d.user_data.lsp.code)
end

-- 1. The train source as the example has it: no error, only the timetable check's warnings,
-- the last stretch's among them.
local treno, prima = apri('Tavena_Crostia_4417-.txt')
attendi_pubblicazione(prima)
local di_base = vim.diagnostic.get(treno)
local impossibile = false
for _, d in ipairs(di_base) do
  local codice = tostring(codice_di(d))
  if d.severity ~= vim.diagnostic.severity.WARN or not vim.startswith(codice, 'orario-') then
    fallisci('diagnostica inattesa sull\'esempio: ' .. vim.inspect(d))
  end
  impossibile = impossibile or codice == 'orario-impossibile-con-ogni-treno'
end
if not impossibile then
  fallisci('manca l\'ultima tratta impossibile: ' .. vim.inspect(di_base))
end

local function attendi_base()
  if not vim.wait(ATTESA, function() return #vim.diagnostic.get(treno) == #di_base end, 10) then
    fallisci('diagnostiche diverse da quelle dell\'esempio: ' .. vim.inspect(vim.diagnostic.get(treno)))
  end
end

-- 2. A station's category changed to "12a" in the buffer, not saved: one error at the field.
local riga, testo = riga_che_inizia(treno, 'stazione,   10900,')
local inizio_campo = select(2, testo:find('^stazione,   10900, *')) -- the category's column
local fine_campo = testo:find(',', inizio_campo + 1)
local cambiata = testo:sub(1, inizio_campo) .. '12a' .. testo:sub(fine_campo)
prima = pubblicazioni
vim.api.nvim_buf_set_lines(treno, riga, riga + 1, false, { cambiata })
attendi_pubblicazione(prima)
local d = vim.diagnostic.get(treno)
if #d ~= 1 then
  fallisci('attesa una diagnostica, avute ' .. vim.inspect(d))
end
if d[1].lnum ~= riga or d[1].col ~= inizio_campo then
  fallisci(string.format('errore a %d:%d, atteso a %d:%d', d[1].lnum, d[1].col, riga, inizio_campo))
end
local codice = codice_di(d[1])
if codice ~= 25 or not d[1].message:find('numero atteso', 1, true) then
  fallisci('codice o messaggio sbagliato: ' .. vim.inspect(d[1]))
end

-- 3. The hover on the first station: its kilometre reading, in markdown or plain text as
-- the client asked.
local stazione = riga_che_inizia(treno, 'stazione,       0,')
local hover = richiedi(treno, 'textDocument/hover', stazione, 2)
local spiegazione = hover.contents.value or ''
if not spiegazione:find('chilometrica: km 100.950', 1, true) then
  fallisci('hover senza la chilometrica: ' .. spiegazione)
end
if hover.contents.kind ~= (piene and 'markdown' or 'plaintext') or
    (not piene and spiegazione:find('**', 1, true)) then
  fallisci('hover nel formato sbagliato: ' .. vim.inspect(hover.contents))
end
-- 3b. The outline: a tree, or a flat list for a client without one.
local simboli = vim.lsp.buf_request_sync(treno, 'textDocument/documentSymbol',
  { textDocument = vim.lsp.util.make_text_document_params() }, ATTESA)[cliente].result
if piene ~= (simboli[1].children ~= nil) or piene == (simboli[1].location ~= nil) then
  fallisci('schema nel formato sbagliato: ' .. vim.inspect(simboli[1]))
end

-- 4. Completion in the line source's curve section: the curve keywords.
local linea
linea, prima = apri('Tavena_Crostia_linea.txt')
attendi_pubblicazione(prima)
local curve = riga_che_inizia(linea, '[curve]')
local voci = richiedi(linea, 'textDocument/completion', curve + 1, 0)
local etichette = {}
for _, v in ipairs(voci.items or voci) do
  etichette[v.label] = true
end
if not (etichette.curvas and etichette.curvad) then
  fallisci('completamento senza le curve: ' .. vim.inspect(vim.tbl_keys(etichette)))
end
for _, v in ipairs(voci.items or voci) do
  local snippet = v.insertTextFormat == 2 or (v.insertText or ''):find('${', 1, true)
  if piene ~= (snippet and true or false) then
    fallisci('completamento nel formato sbagliato: ' .. vim.inspect(v))
  end
end

-- 5. The change undone: the example's own diagnostics again.
vim.cmd('buffer ' .. treno)
prima = pubblicazioni
vim.cmd('silent undo')
attendi_pubblicazione(prima)
attendi_base()

-- 5b. The hover on the last station: the stretch it ends, by the timetable check.
local ultima = riga_che_inizia(treno, 'stazione,  100750,')
local tratta = richiedi(treno, 'textDocument/hover', ultima, 2).contents.value
if not (tratta:find('in orario: 3 min', 1, true) and tratta:find('ai soli limiti: 4 min 3 s', 1, true)) then
  fallisci('hover senza la tratta: ' .. tratta)
end


-- 5c. A station too close to the previous one: the note is related information, or a line
-- of the message.
prima = pubblicazioni
local morsello, testo_morsello = riga_che_inizia(treno, 'stazione,   10900,')
vim.api.nvim_buf_set_lines(treno, morsello, morsello + 1, false,
  { (testo_morsello:gsub('10900', '  400', 1)) })
attendi_pubblicazione(prima)
local vicina = vim.diagnostic.get(treno)[1]
if not vicina or codice_di(vicina) ~= 22 then
  fallisci('attesa la stazione troppo vicina: ' .. vim.inspect(vim.diagnostic.get(treno)))
end
local nota_nel_messaggio = vicina.message:find('Tavena_Crostia_4417-.txt:' .. (stazione + 1) ..
  ': la stazione precedente', 1, true)
local collegate = vicina.user_data.lsp.relatedInformation
if piene ~= (collegate ~= nil and #collegate == 1) or piene == (nota_nel_messaggio ~= nil) then
  fallisci('nota nel posto sbagliato: ' .. vim.inspect(vicina))
end
prima = pubblicazioni
vim.cmd('silent undo')
attendi_pubblicazione(prima)

-- 5d. Inlay hints: Neovim 0.7 shows none, but its client asks and gets the readings, or
-- nothing when it did not declare them.
local suggerimenti = vim.lsp.buf_request_sync(treno, 'textDocument/inlayHint', {
  textDocument = vim.lsp.util.make_text_document_params(),
  range = { start = { line = 0, character = 0 }, ['end'] = { line = 200, character = 0 } },
}, ATTESA)[cliente].result
local letture = {}
for _, h in ipairs(suggerimenti) do
  letture[h.position.line] = h.label
end
if piene then
  if letture[morsello] ~= 'km 90.050' or letture[stazione] ~= 'km 100.950' then
    fallisci('suggerimenti sbagliati: ' .. vim.inspect(letture))
  end
elseif #suggerimenti ~= 0 then
  fallisci('suggerimenti a chi non li ha chiesti: ' .. vim.inspect(suggerimenti))
end

-- 6. Each quick fix through Neovim's own code action: the action chosen by its title (Neovim
-- 0.7 has no filter of its own, so the choice is made where it asks), applied, and the source
-- back to the example's diagnostics.
local scelta
vim.ui.select = function(voci, _, alla_scelta)
  for _, v in ipairs(voci) do
    if v[2].title:find(scelta, 1, true) then
      return alla_scelta(v)
    end
  end
  fallisci('nessuna azione "' .. scelta .. '" tra ' .. vim.inspect(voci))
end
local function correggi(riga, rotta, titolo, attesa_riga, attesa)
  prima = pubblicazioni
  vim.api.nvim_buf_set_lines(treno, riga, riga + 1, false, rotta)
  attendi_pubblicazione(prima)
  vim.api.nvim_win_set_cursor(0, { riga + 1, 0 })
  scelta = titolo
  prima = pubblicazioni
  vim.lsp.buf.code_action({ only = { 'quickfix' } })
  if not vim.wait(ATTESA, function()
    return vim.api.nvim_buf_get_lines(treno, attesa_riga, attesa_riga + 1, false)[1] == attesa
  end, 10) then
    fallisci(titolo .. ': la riga e\' ' .. vim.inspect(vim.api.nvim_buf_get_lines(treno, attesa_riga, attesa_riga + 1, false)))
  end
  attendi_pubblicazione(prima)
  attendi_base()
end
if piene then
  correggi(morsello, { (testo_morsello:gsub('10900', '10925', 1)) }, 'posizione 10900', morsello, testo_morsello)
  correggi(morsello, { (testo_morsello:gsub('  400,', '  450,', 1)) }, 'lunghezza 400', morsello, testo_morsello)
  local segnale, testo_segnale = riga_che_inizia(treno, 'segnale,    4500,')
  correggi(segnale, { (testo_segnale:gsub('segnale', 'segnalle', 1)) }, 'parola chiave segnale', segnale, testo_segnale)
  local velocita, testo_velocita = riga_che_inizia(treno, 'velocita,     800,')
  correggi(velocita, { testo_velocita .. ', 5' }, 'togli i valori', velocita, testo_velocita)
  local sabbia, testo_sabbia = riga_che_inizia(treno, 'sabbia,')
  vim.api.nvim_buf_set_lines(treno, sabbia, sabbia + 1, false, {})
  correggi(0, { testo_sabbia, vim.api.nvim_buf_get_lines(treno, 0, 1, false)[1] }, 'sposta la riga', 1, testo_sabbia)
end

vim.lsp.stop_client(cliente)
vim.cmd('qall!')
