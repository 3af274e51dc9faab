#pragma once
// M110/M510 dos lançamentos sem a EFD (lucro real): ajustes sem detalhe, com o valor do
// próprio lançamento, e tudo no tipo de apuração 0.
#include "blocom/generators/nFisEFDGeradorBlocoM110M510Lcto_U.h"

class TnFisEFDGeradorM110_M510LctoDacon : public TnFisEFDGeradorM110_M510Lcto {
 public:
  using TnFisEFDGeradorM110_M510Lcto::TnFisEFDGeradorM110_M510Lcto;
  int GetCSTAjusteCredito() override;
  std::string GetSqlLctoAjuste() override;
  int GetTipoApuracao(int) override { return 0; }
};
