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
  void DepoisCarregarDados() override;
};

class TDataSet;

// Ajuste da EFD sem linha de detalhe: pelos lançamentos o valor do M110/M220 vem dos detalhes,
// então ele fica fora do bloco. Consulta os ajustes do tipo (0 crédito, 1 contribuição) nessa
// situação e avisa pelo gerador, um por ajuste com valor no imposto.
std::string GetSqlAjustesEFDSemDetalhe(const std::string& AImposto, int ATipoAjuste, const std::string& AFiltroEstab);
void AvisarAjustesEFDSemDetalhe(const TnFisEFDGeradorBlocoM& AGerador, TDataSet& ADataSet, const std::string& AImposto,
                                const std::string& ARegistro);
