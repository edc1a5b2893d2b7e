// Module-wide flags that one gauge family writes and another reads, kept here so that neither
// family reaches into the other's folder. Plain values at module scope, set when the module loads;
// every reader and writer runs on the host's panel thread.
#pragma once

inline bool master_warning = false;  // a red annunciator condition holds; written by Annunciator, shown by Master_Lights
inline bool master_caution = false;  // an amber annunciator condition holds; the same for the caution light
