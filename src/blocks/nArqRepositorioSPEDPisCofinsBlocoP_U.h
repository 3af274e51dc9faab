#pragma once
// Bloco P (contribuição previdenciária sobre a receita bruta): textos SQL e carga de P100,
// P200, P210 e da receita total do período. Os estabelecimentos entram como literais do
// filtro de intervalo (sem parâmetro); o dataset é reaproveitado entre chamadas.
#include <memory>
#include <string>

#include "blocks/nArqRepositorioSPEDPisCofinsBase_U.h"

class TnArqRepositorioSPEDPisCofinsBlocoP : public TnArqRepositorioSPEDPisCofinsBase {
 public:
  using TParans = TnParansBlocoP;

  static std::string GetFiltroEstab(const TnParansBlocoP& AParans, const std::string& AColuna);
  static std::string GetFiltroOpFis(const std::string& AAlias, const TnParansBlocoP& AParans);
  static std::string GetFiltroCSTM400_M800(const TnParansBlocoP& AParans);
  static std::string GetSqlP100(const TnParansBlocoP& AParans);
  static std::string GetSqlP100_2012(const TnParansBlocoP& AParans);
  static std::string GetSqlP100_2013(const TnParansBlocoP& AParans);
  static std::string GetSqlP200(const TnParansBlocoP& AParans);
  static std::string GetSqlP210(const TnParansBlocoP& AParans);
  static std::string GetSqlTotRec(const TnParansBlocoP& AParans, bool ARegimeCaixa);
  // Totais e ajustes de um código de receita (P200 em memória, a partir de 2013).
  static std::string GetSqlDebitosP200(const TnParansBlocoP& AParans);
  static std::string GetSqlAjustesP200(const TnParansBlocoP& AParans);

  // [empresa, início, fim]: o estabelecimento vai no texto.
  static TParams GetParamsEstabData(const TnParansBlocoP& AParans);

  // Execução do bloco: com dataset aberto e sem agrupar filiais, reexecuta com os novos
  // valores; agrupando, descarta e abre de novo.
  static void CarregarDados(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans, const std::string& ASQL,
                            const TParams& AValores);
  static void CarregarDadosP100(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans);
  static void CarregarDadosP200(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans);
  static void CarregarDadosP210(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans);
  static void CarregarTotalReceita(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans,
                                   bool ARegimeCaixa);
  // Soma os débitos (totais mais ajustes por operação) do código e variação na linha deles.
  static void CarregarDebitosP200(TnClientDataSet& ADataSet, const TnParansBlocoP& AParans, int ACodigoImposto,
                                  int AVariacaoImposto);
};
