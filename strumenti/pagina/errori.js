// Collects the text of every script error on the root element, for whoever checks the page.
window.onerror = function (messaggio, file, riga) {
  var radice = document.documentElement;
  radice.setAttribute("data-errori",
      (radice.getAttribute("data-errori") || "") + messaggio + " (riga " + riga + ")\n");
};
