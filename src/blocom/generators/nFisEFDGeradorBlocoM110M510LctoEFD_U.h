#pragma once
// M110/M510 dos lançamentos para optantes da EFD: ajustes com detalhe por CST (o valor vem
// dos detalhes M115/M515) e CST de ajuste da opção da EFD.
#include "blocom/generators/nFisEFDGeradorBlocoM110M510Lcto_U.h"

class TnFisEFDGeradorM110_M510LctoEFD : public TnFisEFDGeradorM110_M510Lcto {
 public:
  using TnFisEFDGeradorM110_M510Lcto::TnFisEFDGeradorM110_M510Lcto;
  void CriarGeradoresFilhos() override;
  int GetCSTAjusteCredito() override;
  std::string GetSqlLctoAjuste() override;
};
