// Alvo libFuzzer: FilterInterval aceita só a notação e devolve condição limpa, nos números
// (estabelecimentos) e nos textos (números de processo). Propriedades: PropriedadesFilterInterval.
#include "fuzz/Propriedades.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* ADados, size_t ATamanho) {
  return ConferirNoFuzzer(PropriedadesFilterInterval, ADados, ATamanho);
}
