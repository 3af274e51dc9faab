#pragma once
// Registros de parâmetros dos repositórios dos blocos A, C, D, F, I, P e 1.
// Cada operação de um bloco recebe o registro do bloco por referência constante.
#include <cstdint>
#include <string>

#include "base/DateTime.h"

struct TnParansBlocoA {
  int32_t CodigoEmpresa = 0;
  std::string CodigoEstab;  // um código ou uma lista/intervalo que o filtro do host entende
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
  bool AgruparFiliais = false;
  int32_t TipoMovimento = 0;  // 0 = entradas; qualquer outro valor = saídas
  bool EstabSCP = false;
};

struct TnParansBlocoC {
  int32_t CodigoEmpresa = 0;
  std::string CodigoEstab;
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
  bool AgruparFiliais = false;
  int32_t TipoMovimento = 0;
  int16_t IndApuracao = 0;
  bool EstabSCP = false;
};

// O gêmeo em memória do bloco C tem o próprio registro, com o mesmo nome e sem EstabSCP;
// o namespace faz o papel da unidade que o declara.
namespace nArqRepositorioSPEDPisCofinsBlocoCMemoria_U {
struct TnParansBlocoC {
  int32_t CodigoEmpresa = 0;
  std::string CodigoEstab;
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
  bool AgruparFiliais = false;
  int32_t TipoMovimento = 0;
  int16_t IndApuracao = 0;
};
}  // namespace nArqRepositorioSPEDPisCofinsBlocoCMemoria_U

struct TnParansBlocoD {
  int32_t CodigoEmpresa = 0;
  std::string CodigoEstab;
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
  bool AgruparFiliais = false;
  bool EstabSCP = false;
};

struct TnParansBlocoF {
  int32_t CodigoEmpresa = 0;
  std::string CodigoEstab;
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
  bool AgruparFiliais = false;
  int16_t TipoMovimento = 0;
  bool EstabSCP = false;
};

struct TnParansBlocoP {
  int32_t CodigoEmpresa = 0;
  std::string CodigoEstab;
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
  bool AgruparFiliais = false;
  int16_t TipoMovimento = 0;
};

struct TnParansBlocoI {
  int32_t CodigoEmpresa = 0;
  int32_t CodigoEstab = 0;  // aqui o estabelecimento é número, não texto
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
  bool EhOptanteEFD = false;
  bool EhOptanteLR = false;
};

struct TnParansBloco1 {
  int32_t CodigoEmpresa = 0;
  std::string CodigoEstab;
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
};
