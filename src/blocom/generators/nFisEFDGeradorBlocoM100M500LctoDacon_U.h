#pragma once
// Raiz M100/M500 dos lançamentos sem a EFD (lucro real): depois dos filhos, reparte pelos
// créditos do período o valor já descontado nos totais do lucro real.
#include "blocom/generators/nFisEFDGeradorBlocoM100M500Lcto_U.h"

class TnFisEFDGeradorM100_M500LctoDacon : public TnFisEFDGeradorM100_M500Lcto {
 public:
  using TnFisEFDGeradorM100_M500Lcto::TnFisEFDGeradorM100_M500Lcto;
  void CriarGeradoresFilhos() override;
  void DepoisCarregarDadosFilhos() override;
  void CarregarTotalCredDescontarM100_500();
  std::string GetSqlTotalCredDescontar() const;
};
