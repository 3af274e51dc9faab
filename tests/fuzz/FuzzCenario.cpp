// Alvo libFuzzer: o leitor de arquivos de cenário aceita ou recusa qualquer texto sem quebrar,
// e recusa sempre com "ARQUIVO:LINHA: ". Propriedades: PropriedadesCenario.
#include "fuzz/Propriedades.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* ADados, size_t ATamanho) {
  return ConferirNoFuzzer(PropriedadesCenario, ADados, ATamanho);
}
