// The files of the page, embedded into the program at build time from strumenti/pagina/.
#pragma once

#include <string_view>

extern const std::string_view kPaginaHtml;
extern const std::string_view kPaginaCss;
extern const std::string_view kPaginaJs;
extern const std::string_view kPaginaErroriJs;
