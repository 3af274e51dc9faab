#pragma once
// Créditos de PIS/COFINS do ativo imobilizado (patrimônio) no período.
#include <string>
#include <vector>

#include "base/DateTime.h"

struct TnPatCreditoDacon {
  int CodigoEstab = 0;
  int NumeroBem = 0;
  std::string DescricaoBem;
  int OrigemBem = 0;         // 1 importado
  int TipoDaconCredito = 0;  // 6 e 7: depreciação/amortização de edificações; outros: aquisição
  int TipoApuracao = 0;
  int CSTPIS = 0;
  int CSTCOFINS = 0;
  double QuotaMensal = 0;
  double AliquotaPis = 0;
  double AliquotaCofins = 0;
  double CreditoPis = 0;
  double CreditoCofins = 0;
};

class TnPatServicosDACON {
 public:
  // Créditos do período por bem (PATCREDITODACON com PATBEM e PATCFGDACON), na ordem de
  // estabelecimento e número do bem; sem crédito, lista vazia.
  static std::vector<TnPatCreditoDacon> CreditosDaconPeriodo(int ACodigoEmpresa,
                                                             const std::string& ACodigoEstab,
                                                             TDateTime ADataInicial,
                                                             TDateTime ADataFinal);
  static std::string GetSqlCreditosDacon(const std::string& ACodigoEstab);
};
