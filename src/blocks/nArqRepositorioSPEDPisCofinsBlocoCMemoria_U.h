#pragma once
// Gêmea em memória do bloco C: os mesmos textos, salvo o que o modelo troca por
// if constexpr, e o C170 lido de uma vez com os valores reais.
#include <memory>

#include "blocks/nArqRepositorioSPEDPisCofinsBlocoC_U.h"

class TnArqRepositorioSPEDPisCofinsBlocoCMemoria
    : public TnArqRepositorioSPEDPisCofinsBlocoCTextos<nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC, true> {
 public:
  using TnParansBlocoC = nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC;
  // Dataset próprio (não do cache), em lotes de 1000 linhas, com os valores reais.
  static void CarregarDadosC170(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoC& AParans);
  // Valores do C170 e do C181/C185 da gêmea: a subconsulta LCO vem antes do filtro de
  // estabelecimento e não o tem, então o estabelecimento vai depois do período.
  static TParams GetParamsEstabDataLCO(const TnParansBlocoC& AParans);
};
