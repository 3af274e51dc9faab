#pragma once
// Raiz M100/M500 dos lançamentos para optantes da EFD: depois dos filhos, entrega cada crédito
// apurado no período ao controle de créditos, de onde sai a compensação do M200/M600.
#include "blocom/generators/nFisEFDGeradorBlocoM100M500Lcto_U.h"

class TnFisEFDGeradorM100_M500LctoEFD : public TnFisEFDGeradorM100_M500Lcto {
 public:
  using TnFisEFDGeradorM100_M500Lcto::TnFisEFDGeradorM100_M500Lcto;
  void CriarGeradoresFilhos() override;
  void DepoisCarregarDadosFilhos() override;
  void IncluirCreditosApuradosNoPeriodo();
};
