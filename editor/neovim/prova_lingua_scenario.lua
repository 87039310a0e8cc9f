-- Drives the language server through headless Neovim over the built-in example's sources.
-- Run as: CARTELLA=<folder with the example> SERVER=<lingua_scenario> nvim --headless -u NONE -l
-- (or -c "luafile ..."). Ends Neovim with status 0 when every check holds, 1 at the first that
-- does not.
local cartella = assert(os.getenv('CARTELLA'), 'CARTELLA non data')
local server = assert(os.getenv('SERVER'), 'SERVER non dato')
local ATTESA = 10000

local function fallisci(messaggio)
  io.stderr:write('prova_lingua_scenario: ' .. messaggio .. '\n')
  vim.cmd('cquit! 1')
end

local pubblicazioni = 0
local cliente = vim.lsp.start_client({
  name = 'lingua_scenario',
  cmd = { server },
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

-- 1. The train source as the example has it: no diagnostics.
local treno, prima = apri('Tavena_Crostia_4417-.txt')
attendi_pubblicazione(prima)
if #vim.diagnostic.get(treno) ~= 0 then
  fallisci('diagnostiche sull\'esempio: ' .. vim.inspect(vim.diagnostic.get(treno)))
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
local codice = d[1].code or (d[1].user_data and d[1].user_data.lsp and d[1].user_data.lsp.code)
if codice ~= 25 or not d[1].message:find('numero atteso', 1, true) then
  fallisci('codice o messaggio sbagliato: ' .. vim.inspect(d[1]))
end

-- 3. The hover on the first station: its kilometre reading.
local stazione = riga_che_inizia(treno, 'stazione,       0,')
local hover = richiedi(treno, 'textDocument/hover', stazione, 2)
local spiegazione = hover.contents.value or ''
if not spiegazione:find('chilometrica: km 100.950', 1, true) then
  fallisci('hover senza la chilometrica: ' .. spiegazione)
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

-- 5. The change undone: the diagnostics clear.
vim.cmd('buffer ' .. treno)
prima = pubblicazioni
vim.cmd('silent undo')
attendi_pubblicazione(prima)
if not vim.wait(ATTESA, function() return #vim.diagnostic.get(treno) == 0 end, 10) then
  fallisci('diagnostiche dopo l\'annullamento: ' .. vim.inspect(vim.diagnostic.get(treno)))
end

vim.lsp.stop_client(cliente)
vim.cmd('qall!')
