#pragma once
// Tabela temporária LCTOFISTMP da conexão: as linhas de saída com CFOP de devolução do
// período, que as consultas de receita deixam de fora (junção por CODIGOEMPRESA,
// CHAVELCTOFISSAI, CODIGOPRODUTO e SEQ, com "T.CODIGOEMPRESA is null").
#include <string>

#include "base/DateTime.h"

class TnFisUtilLctoFisTmp {
 public:
  // Regime de competência: saídas lançadas no período. Regime de caixa: também as
  // saídas de devolução cujas duplicatas tiveram pagamento no período.
  static void CarregarTempDevolucao(int ACodigoEmpresa, const std::string& ACodigoEstab,
                                    TDateTime ADataInicial, TDateTime ADataFinal, bool ARegimeCaixa);
  // Esvazia a tabela (não falha se ela ainda não existe).
  static void LimparTempDevolucao();
  static std::string GetSqlTempDevolucao(const std::string& ACodigoEstab, bool ARegimeCaixa);
};

// Carrega na construção e limpa na destruição, também quando a execução falha. No fim normal
// quem usa chama Liberar: uma falha da limpeza ali chega ao chamador em vez de sumir no destrutor.
class TnGuardaTempDevolucao {
 public:
  TnGuardaTempDevolucao(int ACodigoEmpresa, const std::string& ACodigoEstab,
                        TDateTime ADataInicial, TDateTime ADataFinal, bool ARegimeCaixa);
  ~TnGuardaTempDevolucao();
  TnGuardaTempDevolucao(const TnGuardaTempDevolucao&) = delete;
  TnGuardaTempDevolucao& operator=(const TnGuardaTempDevolucao&) = delete;
  void Liberar();

 private:
  bool FLiberada = false;
};
