// Alvo libFuzzer: o analisador de :NOME, a troca por marcadores e a reescrita de CAST não
// quebram, não inventam nem perdem nomes. Propriedades: PropriedadesParametros.
#include "fuzz/Propriedades.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* ADados, size_t ATamanho) {
  return ConferirNoFuzzer(PropriedadesParametros, ADados, ATamanho);
}
