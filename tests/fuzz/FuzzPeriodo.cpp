// Alvo libFuzzer: a competência e o período da linha de comando (--competencia, --inicio,
// --fim) aceitam só datas válidas e dão o período certo. Propriedades: PropriedadesPeriodo.
#include "fuzz/Propriedades.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* ADados, size_t ATamanho) {
  return ConferirNoFuzzer(PropriedadesPeriodo, ADados, ATamanho);
}
