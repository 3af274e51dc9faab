// Alvo libFuzzer: Format com qualquer formato formata ou recusa com EConversao, sem estourar
// nem perder texto. Propriedades: PropriedadesFormat.
#include "fuzz/Propriedades.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* ADados, size_t ATamanho) {
  return ConferirNoFuzzer(PropriedadesFormat, ADados, ATamanho);
}
