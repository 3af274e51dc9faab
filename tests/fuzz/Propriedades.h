#pragma once
// Propriedades conferidas pelos alvos de fuzzing. O alvo libFuzzer e a suíte normal (que
// reaplica crashes/ e corpus/) chamam as mesmas funções: uma entrada guardada falha nos dois.
//
// Cada função recebe os bytes da entrada e devolve "" se todas as propriedades valem, ou a
// descrição da primeira que falhou. Exceção fora das esperadas também é falha.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using TPropriedades = std::string (*)(const std::string& AEntrada);

std::string PropriedadesParametros(const std::string& AEntrada);
std::string PropriedadesFilterInterval(const std::string& AEntrada);
std::string PropriedadesFormat(const std::string& AEntrada);
std::string PropriedadesPeriodo(const std::string& AEntrada);
std::string PropriedadesCenario(const std::string& AEntrada);

// Pelo nome do alvo (FuzzParametros, ...); nullptr se não houver.
TPropriedades PropriedadesDoAlvo(std::string_view AAlvo);

// Corpo de LLVMFuzzerTestOneInput: propriedade violada derruba o processo com a descrição.
inline int ConferirNoFuzzer(TPropriedades AProps, const uint8_t* ADados, size_t ATamanho) {
  const std::string falha = AProps(std::string(reinterpret_cast<const char*>(ADados), ATamanho));
  if (!falha.empty()) {
    std::fprintf(stderr, "propriedade violada: %s\n", falha.c_str());
    std::abort();
  }
  return 0;
}
