// The request to stop that a person gives a console program: Ctrl+C, or on POSIX systems
// SIGINT and SIGTERM. Once it is taken over, the request no longer ends the process: the
// program asks for it and ends in its own way.
#pragma once

namespace piattaforma {

// From now on a request to stop is only recorded.
void prendi_interruzione();

// Whether a request to stop came since prendi_interruzione.
bool interruzione_richiesta();

}  // namespace piattaforma
